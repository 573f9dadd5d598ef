#pragma once

#include "ado/AdoError.h"
#include "ado/Recordset.h"
#include "ado/Stream.h"

#include <QStringList>

#include <memory>

namespace qv::ado::test {

// The ADO error number a call raises, 0 when it raises none.
template<typename F>
qint32 ErrorOf(F &&f)
{
    try {
        f();
    } catch (const ComError &e) {
        return e.Number();
    }
    return 0;
}

// An open recordset with an ID (Long) and a Name (text) field and the
// given names as rows, ID counting from 1.
inline std::shared_ptr<Recordset> People(const QStringList &names)
{
    auto rs = Recordset::Create();
    rs->Fields().Append(QStringLiteral("ID"), adInteger, 4, adFldIsNullable);
    rs->Fields().Append(QStringLiteral("Name"), adVarWChar, 50, adFldIsNullable);
    rs->Open();
    qint32 id = 0;
    for (const QString &name : names)
        rs->AddNew({Variant("ID"), Variant("Name")}, {Variant(++id), Variant(name)});
    rs->MoveFirst();
    return rs;
}

// The texts of one field over the rows the recordset shows, walked from the
// first; the cursor ends at EOF.
inline QStringList Walk(Recordset &rs, const QString &field = QStringLiteral("Name"))
{
    QStringList out;
    if (rs.IsBOF() && rs.IsEOF())
        return out;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        out << rs.Fields().Item(field).Value().ToText();
    return out;
}

inline QString SaveToText(Recordset &rs)
{
    Stream stream;
    stream.Open();
    rs.Save(stream, adPersistXML);
    stream.SetPosition(0);
    return stream.ReadText();
}

inline std::shared_ptr<Recordset> OpenText(const QString &xml)
{
    Stream stream;
    stream.Open();
    stream.WriteText(xml);
    stream.SetPosition(0);
    auto rs = Recordset::Create();
    rs->Open(stream);
    return rs;
}

// A file as ADO writes it, with other prefixes than ADO's: a reader must go
// by the namespace URIs.
inline QString AdoStyleFile(const QString &schema, const QString &data)
{
    return QStringLiteral(
               "<xml xmlns:a='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
               "\txmlns:b='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
               "\txmlns:r='urn:schemas-microsoft-com:rowset'\r\n\txmlns:q='#RowsetSchema'>\r\n"
               "<a:Schema id='RowsetSchema'>\r\n\t<a:ElementType name='row' content='eltOnly' r:updatable='true'>\r\n")
        + schema + QStringLiteral("\t\t<a:extends type='r:rowbase'/>\r\n\t</a:ElementType>\r\n</a:Schema>\r\n<r:data>\r\n")
        + data + QStringLiteral("</r:data>\r\n</xml>\r\n");
}

} // namespace qv::ado::test
