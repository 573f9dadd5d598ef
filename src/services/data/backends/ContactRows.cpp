#include "PimTables.h"

#include "automation/OleDate.h"

#include <QDate>

#include <array>

namespace qv::data {

namespace {

enum Column {
    FullName, LastName, FirstName, MiddleName, Title, Suffix, Nickname, Company, Department, JobTitle,
    Email1, Email2, Email3, BusinessPhone, HomePhone, MobilePhone, BusinessFax, HomeFax, Pager, OtherPhone,
    BusinessStreet, BusinessCity, BusinessState, BusinessPostalCode, BusinessCountry,
    HomeStreet, HomeCity, HomeState, HomePostalCode, HomeCountry,
    WebPage, Birthday, Notes, Categories, ColumnCount
};

const char *const kNames[ColumnCount] = {
    "Full Name", "Last Name", "First Name", "Middle Name", "Title", "Suffix", "Nickname", "Company",
    "Department", "Job Title", "E-mail", "E-mail 2", "E-mail 3", "Business Phone", "Home Phone",
    "Mobile Phone", "Business Fax", "Home Fax", "Pager", "Other Phone", "Business Street", "Business City",
    "Business State", "Business Postal Code", "Business Country/Region", "Home Street", "Home City",
    "Home State", "Home Postal Code", "Home Country/Region", "Web Page", "Birthday", "Notes", "Categories"};

void Put(DataRow &row, int column, const QString &text)
{
    const QString value = text.trimmed();
    if (!value.isEmpty() && row[column].IsNull())
        row[column] = value;
}

bool Has(const VCardProperty &property, const char *type)
{
    return property.Types.contains(QLatin1String(type));
}

int PhoneColumn(const VCardProperty &tel)
{
    if (Has(tel, "fax"))
        return Has(tel, "home") ? HomeFax : BusinessFax;
    if (Has(tel, "cell"))
        return MobilePhone;
    if (Has(tel, "pager"))
        return Pager;
    if (Has(tel, "work"))
        return BusinessPhone;
    if (Has(tel, "home"))
        return HomePhone;
    return OtherPhone;
}

void PutPhones(DataRow &row, const VCard &card)
{
    for (const VCardProperty *tel : card.All(QStringLiteral("TEL"))) {
        QString number = UnescapeVCardText(tel->Value).trimmed();
        if (number.startsWith(u"tel:", Qt::CaseInsensitive))
            number = number.mid(4);
        const int column = PhoneColumn(*tel);
        Put(row, row[column].IsNull() ? column : OtherPhone, number);
    }
}

void PutAddresses(DataRow &row, const VCard &card)
{
    for (const VCardProperty *adr : card.All(QStringLiteral("ADR"))) {
        int first = Has(*adr, "work") ? BusinessStreet : Has(*adr, "home") ? HomeStreet : -1;
        if (first < 0)
            first = row[BusinessStreet].IsNull() && row[BusinessCity].IsNull() ? BusinessStreet : HomeStreet;
        const QStringList parts = SplitVCardValue(adr->Value);
        // Post office box, extended address, street, locality, region, postal code, country.
        QStringList street;
        for (int i : {2, 1, 0}) {
            if (!parts.value(i).trimmed().isEmpty())
                street << parts.value(i).trimmed();
        }
        Put(row, first, street.join(u'\n'));
        for (int i = 3; i <= 6; ++i)
            Put(row, first + i - 2, parts.value(i));
    }
}

Variant BirthdayOf(const QString &text)
{
    // 1980-03-22, 19800322 or 1980-03-22T00:00:00Z; a day without a year (--0203) is no date.
    const QString day = text.trimmed().left(10);
    for (const char *format : {"yyyy-MM-dd", "yyyyMMdd"}) {
        const QDate date = QDate::fromString(day.left(QLatin1String(format).size()), QLatin1String(format));
        if (date.isValid())
            return DateValue{DateTimeToOleDate(date)};
    }
    return Variant::Null();
}

QString ComposedName(const QStringList &n)
{
    QStringList parts;
    for (int i : {3, 1, 2, 0, 4}) {
        if (!n.value(i).trimmed().isEmpty())
            parts << n.value(i).trimmed();
    }
    return parts.join(u' ');
}

} // namespace

QList<DataField> ContactFields()
{
    QList<DataField> fields;
    for (int c = 0; c < ColumnCount; ++c)
        fields << DataField{QString::fromLatin1(kNames[c]), ado::adVarWChar, kTextSize};
    fields[Birthday] = {fields[Birthday].Name, ado::adDate, 8};
    fields[Notes] = {fields[Notes].Name, ado::adLongVarWChar, kLongTextSize};
    return fields;
}

DataRow ContactRow(const VCard &card)
{
    DataRow row(ColumnCount, Variant::Null());
    auto text = [&](const char *name) {
        const VCardProperty *property = card.First(QLatin1String(name));
        return property ? UnescapeVCardText(property->Value) : QString();
    };
    const VCardProperty *n = card.First(QStringLiteral("N"));
    const QStringList names = n ? SplitVCardValue(n->Value) : QStringList();
    Put(row, FullName, text("FN"));
    Put(row, FullName, ComposedName(names));
    for (int i = 0; i < 5; ++i)
        Put(row, std::array{LastName, FirstName, MiddleName, Title, Suffix}[i], names.value(i));
    Put(row, Nickname, text("NICKNAME"));
    if (const VCardProperty *org = card.First(QStringLiteral("ORG"))) {
        const QStringList units = SplitVCardValue(org->Value);
        Put(row, Company, units.value(0));
        Put(row, Department, units.mid(1).join(QStringLiteral(", ")));
    }
    Put(row, JobTitle, text("TITLE"));
    int email = Email1;
    for (const VCardProperty *address : card.All(QStringLiteral("EMAIL"))) {
        if (email <= Email3 && !UnescapeVCardText(address->Value).trimmed().isEmpty())
            Put(row, email++, UnescapeVCardText(address->Value));
    }
    PutPhones(row, card);
    PutAddresses(row, card);
    if (const auto urls = card.All(QStringLiteral("URL")); !urls.isEmpty())
        Put(row, WebPage, UnescapeVCardText(urls.first()->Value));
    row[Birthday] = BirthdayOf(text("BDAY"));
    Put(row, Notes, text("NOTE"));
    QStringList categories;
    for (const VCardProperty *property : card.All(QStringLiteral("CATEGORIES")))
        categories << SplitVCardValue(property->Value, u',');
    categories.removeAll(QString());
    Put(row, Categories, categories.join(QStringLiteral(", ")));
    return row;
}

void FitTextSizes(QList<DataField> &fields, const QList<DataRow> &rows)
{
    for (qsizetype c = 0; c < fields.size(); ++c) {
        if (fields[c].Type != ado::adVarWChar)
            continue;
        for (const DataRow &row : rows) {
            const QString *text = c < row.size() ? row[c].Get<QString>() : nullptr;
            if (text && text->size() > kTextSize) {
                fields[c].Type = ado::adLongVarWChar;
                fields[c].DefinedSize = kLongTextSize;
                break;
            }
        }
    }
}

} // namespace qv::data
