#pragma once

#include "../platform/AdoTestSupport.h"
#include "ado/Recordset.h"
#include "config/ConfigObjects.h"
#include "format/DataFormat.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <memory>

namespace qv::test {

// One field of a test data view and of its recordset.
struct ColumnDef
{
    QString name;
    qint32 adoType = ado::adVarWChar;
    qint32 kind = FieldTypeText;
    QString format = QStringLiteral("none");
    bool displayed = true;
};

// A data view whose recordset holds `rows` (one value a field, in order).
inline std::shared_ptr<config::DataView> MakeView(const QList<ColumnDef> &columns, const QList<QList<Variant>> &rows)
{
    auto view = std::make_shared<config::DataView>(1, std::make_shared<config::IdSource>(),
                                                   std::weak_ptr<config::ConfigStore>());
    view->Name = QStringLiteral("Test View");
    auto rs = ado::Recordset::Create();
    QList<Variant> names;
    for (const ColumnDef &c : columns) {
        auto field = view->Fields.Add(c.name);
        field->DataKind = c.kind;
        field->ViewFormat = c.format;
        field->Displayed = c.displayed;
        field->AdoType = c.adoType;
        rs->Fields().Append(c.name, c.adoType, c.adoType == ado::adVarWChar ? 100 : 0, ado::adFldIsNullable);
        names << Variant(c.name);
    }
    rs->Open();
    for (const QList<Variant> &row : rows)
        rs->AddNew(names, row);
    if (!rows.isEmpty())
        rs->MoveFirst();
    view->Recordset = rs;
    return view;
}

// Name (text), Amount (money), Due (date): the usual test data view.
inline QList<ColumnDef> PeopleColumns()
{
    return {{QStringLiteral("Name")},
            {QStringLiteral("Amount"), ado::adCurrency, FieldTypeCurrency, QStringLiteral("Currency")},
            {QStringLiteral("Due"), ado::adDate, FieldTypeDate, QStringLiteral("Short Date")}};
}

inline Variant Money(double amount)
{
    return Variant(Currency{qint64(amount * 10000)});
}

inline Variant Day(int year, int month, int day)
{
    return Variant(DateValue{double(QDate(1899, 12, 30).daysTo(QDate(year, month, day)))});
}

// `count` rows "Person 1".., amounts 1.. and days from 1 January 2024.
inline std::shared_ptr<config::DataView> PeopleView(int count)
{
    QList<QList<Variant>> rows;
    for (int i = 1; i <= count; ++i)
        rows << QList<Variant>{Variant(QStringLiteral("Person %1").arg(i)), Money(i), Day(2024, 1, 1 + i % 28)};
    return MakeView(PeopleColumns(), rows);
}

// The texts of one field over every row of a recordset.
inline QStringList Column(ado::Recordset &rs, const QString &field)
{
    return ado::test::Walk(rs, field);
}

inline QStringList FieldNames(ado::Recordset &rs)
{
    QStringList out;
    for (qint32 i = 0; i < rs.Fields().Count(); ++i)
        out << rs.Fields().Item(i).Name();
    return out;
}

} // namespace qv::test
