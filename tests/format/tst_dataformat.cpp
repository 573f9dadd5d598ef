#include "format/DataFormat.h"

#include "TestMain.h"
#include "automation/ComError.h"
#include "automation/LocaleFacts.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace qv;

namespace {

QStringList Names(const std::shared_ptr<Collection> &list)
{
    QStringList names;
    for (const Variant &v : *list)
        names << v.ToText();
    return names;
}

std::string Text(const Variant &v) { return v.ToText().toStdString(); }

} // namespace

TEST(DataFormatCatalogue, TypesAndDefaults)
{
    const DataFormat f;
    EXPECT_EQ(f.ADOTypeToQuorivoFieldType(201), FieldTypeText);
    EXPECT_TRUE(f.IsMemo(201));
    EXPECT_FALSE(f.IsMemo(200));
    EXPECT_EQ(f.ADOTypeToQuorivoFieldType(72), FieldTypeNone);
    EXPECT_EQ(f.ADOTypeToQuorivoFieldType(135), FieldTypeDate);
    EXPECT_EQ(f.ADOTypeToQuorivoFieldType(64), FieldTypeTime);
    EXPECT_EQ(f.ADOTypeToQuorivoFieldType(139), FieldTypeNumber);
    EXPECT_EQ(f.QuorivoFieldTypeToADOType(FieldTypePercent), 14);
    EXPECT_EQ(f.QuorivoFieldTypeToADOType(FieldTypeMemo), 8);
    EXPECT_EQ(f.QuorivoFieldTypeToADOType(FieldTypeScientific), 8);
    EXPECT_EQ(f.GetDataFormatDefault(FieldTypeNone).toStdString(), "");
    EXPECT_EQ(f.GetDataFormatDefault(FieldTypePercent).toStdString(), "0.00%");
}

TEST(DataFormatCatalogue, FormatListsPutTheDefaultFirst)
{
    DataFormat f;
    std::shared_ptr<Collection> list;
    f.GetDataFormatStrings(FieldTypeTime, list);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 7);
    EXPECT_EQ(Names(list).mid(0, 2), (QStringList{"Long Time", "Short Time"}));

    f.SetFormatDefault(QStringLiteral("hh:mm"), FieldTypeTime);
    list.reset();
    f.GetDataFormatStrings(FieldTypeTime, list);
    EXPECT_EQ(Names(list), (QStringList{"hh:mm", "Long Time", "Short Time", "h:mm AM/PM", "h:mm:ss AM/PM",
                                        "hh:mm:ss", "mm:ss"}));
    // A reused list already holding the default is refused.
    EXPECT_THROW(f.GetDataFormatStrings(FieldTypeTime, list), ComError);

    f.SetFormatDefault(QStringLiteral("Custom"), 42);
    list.reset();
    f.GetDataFormatStrings(42, list);
    EXPECT_EQ(Names(list), QStringList{"Custom"});
}

TEST(DataFormatCatalogue, Examples)
{
    test::ScopedLocale locale("en_US");
    const DataFormat f;
    const struct { const char *format; qint32 kind; bool single; const char *expected; } cases[] = {
        {"none", FieldTypeText, true, ""},
        {"All Uppercase", FieldTypeText, true, "EXAMPLE FORMATTED TEXT"},
        {"First Case", FieldTypeMemo, true, "Example formatted text"},
        {"Title Case", FieldTypeText, true, "Example Formatted Text"},
        {"DEFAULT", FieldTypeBoolean, true, "Yes; No"},
        {"On/Off", FieldTypeBoolean, false, "On\r\nOff"},
        {"0.00", FieldTypeNumber, true, "22.00; 22222.22; -22222.22"},
        {" none ", FieldTypeNumber, true, "22; 22222.222226; -22222.222226"},
        {"Currency", FieldTypeCurrency, true, "$22.00; $22,222.22; ($22,222.22)"},
        {"0%", FieldTypePercent, true, "22%; 22%"},
        {"Long Time", FieldTypeTime, true, "10:35:22 PM; 10:35:22 AM"},
        {"hh:mm", FieldTypeTime, true, "22:35; 10:35"},
        {"Scientific", FieldTypeScientific, true, ""},
        {"Yes/No", FieldTypeBooleanAlt, true, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(f.GetDataFormatExample(QString::fromLatin1(c.format), c.kind, c.single).toStdString(), c.expected);
    }
    const QString month = QDate::currentDate().toString(QStringLiteral("MMMM yyyy"));
    EXPECT_EQ(f.GetDataFormatExample(QStringLiteral("d mmmm yyyy hh:mm"), FieldTypeDate, true),
              QStringLiteral("15 %1 22:35; 15 %1 10:35").arg(month));
}

TEST(DataFormatDisplay, FormattedData)
{
    test::ScopedLocale locale("en_US");
    const DataFormat f;
    const struct { const char *data, *format; qint32 kind; const char *expected; } cases[] = {
        {"2002-06-04", "d mmmm yyyy", FieldTypeDate, "4 June 2002"},
        {"Tuesday, June 4, 2002", "", FieldTypeDate, "Tuesday, June 4, 2002"},
        {"abc", "Long Date", FieldTypeDate, ""},
        {"6/4/2002 22:35", "hh:mm", FieldTypeDate, "22:35"},
        {"0", "On/Off", FieldTypeBoolean, "Off"},
        {"Yes", "True/False", FieldTypeBoolean, "True"},
        {"maybe", "Yes/No", FieldTypeBoolean, ""},
        {"  mary SMITH ", "First Case", FieldTypeText, "Mary smith"},
        {"  mary SMITH ", "Title Case", FieldTypeText, "Mary Smith"},
        {"mary\tann smith", "Title Case", FieldTypeText, "Mary\tAnn Smith"},
        {"Mixed", "All Lowercase", FieldTypeText, "mixed"},
        {" kept ", "NONE", FieldTypeText, " kept "},
        {"1234.5", "DEFAULT", FieldTypeCurrency, "$1,234.50"},
        {"1234.5", "#,##0.00", FieldTypeNumber, "1,234.50"},
        {"9", "", FieldTypeTime, "9:00:00 AM"},
        {"24", "", FieldTypeTime, ""},
        {"0.15", "", FieldTypePercent, "15.00%"},
        // The markers keep the case they are written in.
        {"22:05:00", "h:mm a/p", FieldTypeTime, "10:05 p"},
        {"09:05:00", "h:mm A/P", FieldTypeTime, "9:05 A"},
        {"6/4/2002 22:35", "d mmm \"at\" h:mm am/pm", FieldTypeDate, "4 Jun at 10:35 pm"},
        // 64-bit identifiers and long decimals keep every digit.
        {"12345678901234567", "#,##0.00", FieldTypeNumber, "12,345,678,901,234,567.00"},
        {"1234567890123456789.125", "#,##0.00", FieldTypeNumber, "1,234,567,890,123,456,789.13"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.data) + " / " + c.format);
        EXPECT_EQ(f.GetFormattedData(QString::fromUtf8(c.data), QString::fromUtf8(c.format), c.kind).toStdString(),
                  c.expected);
    }
}

TEST(DataFormatDisplay, SuppressedResolvingTakesTypedValuesAsTheyAre)
{
    test::ScopedLocale locale("en_GB");
    DataFormat f;
    // A day-first region reads 4.6.2002 as the 4th of June when resolving.
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("Tuesday, 4.6.2002"), QStringLiteral("yyyy-mm-dd"), FieldTypeDate)
                  .toStdString(), "2002-06-04");
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("abc"), QStringLiteral("yyyy-mm-dd"), FieldTypeDate).toStdString(), "");
    f.SetSupressDateResolve(true);
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("abc"), QStringLiteral("yyyy-mm-dd"), FieldTypeDate).toStdString(),
              "abc");
    f.SetSupressTimeResolve(true);
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("9"), QStringLiteral("hh:mm"), FieldTypeTime).toStdString(),
              "00:00");
}

// Typed values skip writing themselves out as text and reading it back; the
// display text must be the same either way.
TEST(DataFormatDisplay, TypedValuesFormatAsTheirTexts)
{
    for (const char *locale : {"en_US", "en_GB"}) {
        const test::ScopedLocale scoped(locale);
        DataFormat f;
        f.SetFormatDefault(QStringLiteral("General Date"), FieldTypeDate);
        f.SetSupressDateResolve(true);
        f.SetSupressTimeResolve(true);
        const double day = double(QDate(1899, 12, 30).daysTo(QDate(2024, 2, 29)));
        const struct { Variant value; const char *format; qint32 kind; } rows[] = {
            {Variant(2.675), "0.00", FieldTypeNumber},
            {Variant(1.0 / 7.0), "General Number", FieldTypeNumber},
            {Variant(-1234567.891), "#,##0.00", FieldTypeNumber},
            {Variant(qint32(-42)), "DEFAULT", FieldTypeNumber},
            {Variant(qint64(9007199254740993LL)), "0", FieldTypeNumber},
            {Variant(Currency{-50000}), "Currency", FieldTypeCurrency},
            {Variant(Currency{123456789}), "$#,##0.00", FieldTypeCurrency},
            {Variant(0.2225), "0.00%", FieldTypePercent},
            {Variant(12345.678), "Scientific", FieldTypeScientific},
            {Variant(3.5), "none", FieldTypeNumber},
            {Variant(0.05f), "General Number", FieldTypeNumber},
            {Variant(5.6789E-05), "General Number", FieldTypeNumber},
            {Variant(Decimal{0, 1, 10, false}), "General Number", FieldTypeNumber},
            {Variant(DateValue{day}), "Short Date", FieldTypeDate},
            {Variant(DateValue{day + 0.75}), "d mmmm yyyy hh:mm", FieldTypeDate},
            {Variant(DateValue{day + 0.5}), "", FieldTypeDate},
            {Variant(DateValue{day}), "Long Date", FieldTypeNumber},
            {Variant(true), "Yes/No", FieldTypeBoolean},
            {Variant(QStringLiteral("abc")), "All Uppercase", FieldTypeText},
            {Variant(QStringLiteral(" a\tB ")), "none", FieldTypeText},
            {Variant(QStringLiteral("mixed Case")), "", FieldTypeMemo},
            {Variant(QStringLiteral("12/31/2023")), "DEFAULT", FieldTypeText},
            {Variant::Null(), "Currency", FieldTypeCurrency},
        };
        for (const auto &row : rows) {
            const QString text = row.value.ToText();
            const QString expected = text.isEmpty() ? text : f.GetFormattedData(text, row.format, row.kind);
            EXPECT_EQ(f.GetFormattedValue(row.value, row.format, row.kind).toStdString(), expected.toStdString())
                << locale << ' ' << Text(row.value) << ' ' << row.format;
        }
    }
    // Where the date's own text would read back as a number ("29.02.2024"
    // with "." grouping digits), the typed date still shows as a date.
    const test::ScopedLocale german("de_DE");
    DataFormat f;
    f.SetSupressDateResolve(true);
    const double day = double(QDate(1899, 12, 30).daysTo(QDate(2024, 2, 29)));
    EXPECT_EQ(f.GetFormattedValue(Variant(DateValue{day}), "Short Date", FieldTypeDate), "29.02.2024");
}

TEST(DataFormatDisplay, EditTexts)
{
    test::ScopedLocale locale("en_US");
    const DataFormat f;
    const struct { const char *data; qint32 kind; const char *view, *expected; } cases[] = {
        {"(blank)", FieldTypeNumber, "", ""},
        {"$1,234.50", FieldTypeCurrency, "", "1234.5"},
        {"abc", FieldTypeNumber, "", ""},
        {"0.15", FieldTypePercent, "", "15%"},
        {"6/4/2002", FieldTypeDate, "Long Date", "6/4/2002"},
        {"22:35", FieldTypeTime, "", "10:35:00 PM"},
        {"nonsense", FieldTypeDate, "", ""},
        {"1", FieldTypeBoolean, "", "Yes"},
        {"Off", FieldTypeBoolean, "True/False", "False"},
        {"True", FieldTypeBoolean, "On/Off", "On"},
        {"maybe", FieldTypeBoolean, "Yes/No", ""},
        {"bob", FieldTypeText, "All Uppercase", "BOB"},
        {"as is", FieldTypeNone, "0.00", "as is"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.data) + " / " + c.view);
        EXPECT_EQ(f.GetFormattedDataForEdit(QString::fromUtf8(c.data), c.kind, QString::fromUtf8(c.view)).toStdString(),
                  c.expected);
    }
}

// Bytes show what they are under any format and convert to nothing.
TEST(DataFormatDisplay, BytesShowAPlaceholder)
{
    const DataFormat f;
    const Variant bytes(QByteArray(22970, '\x01'));
    for (const auto &[format, kind] : {std::pair{"", FieldTypeNone}, std::pair{"All Uppercase", FieldTypeText},
                                       std::pair{"0.00", FieldTypeNumber}, std::pair{"Long Date", FieldTypeDate}})
        EXPECT_EQ(f.GetFormattedValue(bytes, format, kind).toStdString(), "(binary data, 22970 bytes)") << format;
    EXPECT_EQ(f.GetFormattedValue(Variant(QByteArray(1, 'x')), "", FieldTypeNone), "(binary data, 1 byte)");
    EXPECT_EQ(Text(f.ToDecimal(bytes, QStringLiteral("fallback"))), "fallback");
    EXPECT_TRUE(f.ToDate(bytes, Variant::Null()).IsNull());
}

TEST(DataFormatConversions, ValuesAndRawTexts)
{
    test::ScopedLocale locale("en_US");
    const DataFormat f;
    EXPECT_EQ(Text(f.ToPercent(QStringLiteral("15%"), Variant::Null())), "0.15");
    EXPECT_EQ(Text(f.ToCurrency(QStringLiteral("15%"), Variant::Null())), "0.15");
    EXPECT_EQ(Text(f.ToPercent(QStringLiteral("1%5"), Variant::Null())), "0.15");
    EXPECT_EQ(f.ToCurrency(QStringLiteral("0.1"), {}).Type(), VarType::Currency);
    EXPECT_EQ(Text(f.ToDecimal(QStringLiteral("1234567890123456789.5"), Variant::Null())), "1234567890123456789.5");
    EXPECT_EQ(Text(f.ToDecimal(QStringLiteral("abc"), QStringLiteral("fallback"))), "fallback");
    EXPECT_TRUE(f.ToDecimal(Variant::Null(), Variant::Null()).IsNull());
    EXPECT_EQ(Text(f.ToBoolean(QStringLiteral("yes"), QStringLiteral("dflt"))), "dflt");
    EXPECT_EQ(Text(f.ToBoolean(QStringLiteral("Positive"), Variant::Null())), "True");
    EXPECT_EQ(Text(f.ToBoolean(QStringLiteral("0"), Variant::Null())), "False");
    EXPECT_TRUE(f.ToDate(QStringLiteral("never"), Variant::Null()).IsNull());
    EXPECT_EQ(Text(f.ToDate(QStringLiteral("never"), QStringLiteral("1/2/2003"))), "2003-01-02 00:00:00");
    EXPECT_TRUE(f.ToTime(QStringLiteral("never"), Variant::Null()).IsNull());
    EXPECT_EQ(Text(f.FormatBoolean(QStringLiteral("On"), QStringLiteral("?"), "Ja", "Nein")), "Ja");
    EXPECT_EQ(Text(f.FormatBoolean(QStringLiteral("x"), QStringLiteral("?"), "Ja", "Nein")), "?");
    EXPECT_EQ(Text(f.FormatDate(QStringLiteral("6/4/2002"), QStringLiteral("?"))), "Tuesday, June 4, 2002");
    EXPECT_EQ(Text(f.FormatDate(QStringLiteral("x"), QStringLiteral("?"))), "?");
    EXPECT_EQ(Text(f.FormatTime(QStringLiteral("13:05"), QStringLiteral("?"))), "1:05:00 PM");
    EXPECT_EQ(Text(f.FormatTime(Variant::Null(), QStringLiteral("?"))), "?");

    EXPECT_EQ(f.GetRawValue(Variant::Null(), FieldTypeNumber).toStdString(), "");
    EXPECT_EQ(f.GetRawValue(QStringLiteral("June 4, 2002 3:04 pm"), FieldTypeDate).toStdString(), "2002-06-04 15:04:00");
    EXPECT_EQ(f.GetRawValue(QStringLiteral("3:04 pm"), FieldTypeTime).toStdString(), "15:04:00");
    EXPECT_EQ(f.GetRawValue(QStringLiteral("On"), FieldTypeBoolean).toStdString(), "True");
    EXPECT_EQ(f.GetRawValue(QStringLiteral(" x "), FieldTypeText).toStdString(), " x ");
    EXPECT_EQ(f.GetRawValue(QStringLiteral("1"), FieldTypeScientific).toStdString(), "");
    EXPECT_TRUE(f.ToValue(QStringLiteral("1"), FieldTypeNone, QStringLiteral("d")).IsEmpty());
}

TEST(DataFormatConversions, ResolversAcrossLocales)
{
    const DataFormat f;
    const struct { const char *locale, *text, *date, *time; } cases[] = {
        {"en_GB", "Tuesday, 4.6.2002", "2002-06-04 00:00:00", "00:00:00"},
        {"en_US", "Tuesday, 6.4.2002", "2002-06-04 00:00:00", "00:00:00"},
        {"de_DE", "Dienstag, 4.6.2002", "2002-06-04 00:00:00", "00:00:00"},
        {"en_US", "6/4/2002 10:35 p.m.", "2002-06-04 22:35:00", ""},
        {"en_US", "Tue 6/4/02 9:05 a.m", "2002-06-04 09:05:00", ""},
        {"en_US", "6/4/2002 10:35 pm", "2002-06-04 22:35:00", "22:35:00"},
        {"en_US", "9", "", "09:00:00"},
        {"en_US", "13%", "", "13:00:00"},
        {"en_US", "24", "", ""},
        {"en_US", "-3", "", ""},
        {"en_US", "", "", ""},
    };
    for (const auto &c : cases) {
        test::ScopedLocale locale(c.locale);
        SCOPED_TRACE(std::string(c.locale) + " " + c.text);
        EXPECT_EQ(f.ResolveDateString(QString::fromUtf8(c.text)).toStdString(), c.date);
        EXPECT_EQ(f.ResolveTimeString(QString::fromUtf8(c.text)).toStdString(), c.time);
    }
}

TEST(DataFormatDisplay, RememberedTextsFollowLocaleAndDefaults)
{
    DataFormat f;
    {
        test::ScopedLocale locale("en_US");
        EXPECT_EQ(f.GetFormattedData(QStringLiteral("1234.5"), QString(), FieldTypeCurrency).toStdString(), "$1,234.50");
    }
    {
        test::ScopedLocale locale("de_DE");
        EXPECT_EQ(f.GetFormattedData(QStringLiteral("1234,5"), QString(), FieldTypeCurrency).toStdString(),
                  "1.234,50\u00a0€");
        // '.' groups digits here, so the text reads as twelve thousand.
        EXPECT_EQ(f.GetFormattedData(QStringLiteral("1234.5"), QString(), FieldTypeCurrency).toStdString(),
                  "12.345,00\u00a0€");
    }
    test::ScopedLocale locale("en_US");
    f.SetFormatDefault(QStringLiteral("0"), FieldTypeCurrency);
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("1234.5"), QString(), FieldTypeCurrency).toStdString(), "1235");
    f.SetSupressDateResolve(false);
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("x"), QStringLiteral("Long Date"), FieldTypeDate).toStdString(), "");
    f.SetSupressDateResolve(true);
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("x"), QStringLiteral("Long Date"), FieldTypeDate).toStdString(), "x");
}

// A column of more cells than the remembered texts hold, asked for twice in
// a different order: every answer must be the cell's own, through the
// table's growth and its forgetting when full.
TEST(DataFormatDisplay, RememberedTextsStayTheCellsOwn)
{
    test::ScopedLocale locale("en_US");
    const LocaleScope pinned;
    DataFormat remembered;
    const QString pattern = QStringLiteral("#,##0.00");
    const int cells = int(FormattedTextCache::kMaxTexts) + 500;
    const auto text = [](int i) { return QString::number(i * 37 % 100003) + QStringLiteral(".5"); };
    const auto expected = [](int i) { return QLocale().toString(double(i * 37 % 100003) + 0.5, 'f', 2); };
    for (int i = 0; i < cells; ++i)
        ASSERT_EQ(remembered.GetFormattedData(text(i), pattern, FieldTypeNumber), expected(i)) << i;
    for (int i = cells - 1; i >= 0; i -= 7)
        ASSERT_EQ(remembered.GetFormattedData(text(i), pattern, FieldTypeNumber), expected(i)) << i;
    // The same cell text under another format or kind is another cell.
    EXPECT_EQ(remembered.GetFormattedData(text(3), QStringLiteral("0"), FieldTypeNumber).toStdString(), "112");
    EXPECT_EQ(remembered.GetFormattedData(text(3), pattern, FieldTypeText).toStdString(), "111.50");
}

TEST(DataFormatDisplay, PinnedLocaleHoldsUntilTheScopeEnds)
{
    test::ScopedLocale english("en_US");
    DataFormat f;
    const QString value = QStringLiteral("1234.5");
    {
        const LocaleScope pinned;
        EXPECT_EQ(f.GetFormattedData(value, QStringLiteral("#,##0.00"), FieldTypeNumber).toStdString(), "1,234.50");
        test::ScopedLocale german("de_DE");
        // Changing the locale inside a scope is the caller's mistake; the
        // pinned facts stay consistent rather than mixing two locales.
        EXPECT_EQ(f.GetFormattedData(QStringLiteral("99.25"), QStringLiteral("0.0"), FieldTypeNumber).toStdString(), "99.3");
    }
    test::ScopedLocale german("de_DE");
    EXPECT_EQ(f.GetFormattedData(QStringLiteral("1234,5"), QStringLiteral("#,##0.00"), FieldTypeNumber).toStdString(),
              "1.234,50");
}
