#pragma once

#include "ado/AdoError.h"
#include "ado/Recordset.h"

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

} // namespace qv::ado::test
