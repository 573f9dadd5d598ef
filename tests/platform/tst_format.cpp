#include "automation/Format.h"

#include "TestMain.h"
#include "automation/ComError.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct Case
{
    const char *locale;
    Variant value;
    const char *format;
    const char *expected;
};

void RunCases(const std::vector<Case> &cases, int firstDay = 1, int firstWeek = 1)
{
    for (const Case &c : cases) {
        test::ScopedLocale locale(c.locale);
        SCOPED_TRACE(std::string(c.locale) + " [" + c.format + "] " + c.value.ToText().toStdString());
        EXPECT_EQ(VarFormat(c.value, QString::fromUtf8(c.format), firstDay, firstWeek).toStdString(), c.expected);
    }
}

Variant Money(qint64 scaled) { return Variant(Currency{scaled}); }
Variant Date(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    const QDate date(y, m, d);
    const double days = double(QDate(1899, 12, 30).daysTo(date)) + (h * 3600 + n * 60 + s) / 86400.0;
    return Variant(DateValue{days});
}

} // namespace

TEST(FormatLanguage, NamedNumberFormats)
{
    RunCases({
        {"en_US", 1234.5678, "General Number", "1234.5678"},
        {"en_US", 1e20, "general number", "1E+20"},
        {"en_US", 1234.5678, "Currency", "$1,234.57"},
        {"en_US", -1234.5678, "Currency", "($1,234.57)"},
        {"de_DE", 1234.5678, "Currency", "1.234,57\u00a0€"},
        {"en_GB", 1234.5, "Currency", "£1,234.50"},
        {"en_US", 1234.5678, "Fixed", "1234.57"},
        {"en_US", 0.5, "Fixed", "0.50"},
        {"en_US", 1234.5678, "Standard", "1,234.57"},
        {"de_DE", 1234.5678, "Standard", "1.234,57"},
        {"en_US", 0.1234, "Percent", "12.34%"},
        {"en_US", 1234.5678, "Scientific", "1.23E+03"},
        {"en_US", -0.000123, "Scientific", "-1.23E-04"},
        {"en_US", 0, "Yes/No", "No"},
        {"en_US", 3, "Yes/No", "Yes"},
        {"en_US", "False", "On/Off", "Off"},
        {"en_US", "true", "True/False", "True"},
        {"en_US", "maybe", "Yes/No", "maybe"},
        {"en_US", Variant::Null(), "Currency", ""},
    });
}

TEST(FormatLanguage, NumberPatterns)
{
    RunCases({
        {"en_US", 1234.5678, "#,##0.00", "1,234.57"},
        {"en_US", "1234.5678", "#,##0.00", "1,234.57"},
        {"de_DE", "1234,5678", "#,##0.00", "1.234,57"},
        {"en_US", 0.5, "#.##", ".5"},
        {"en_US", 5, "#.##", "5."},
        {"en_US", 5, "00000", "00005"},
        // '#' after the first '0' of the whole part is a '0'.
        {"en_US", 1, "000###", "000001"},
        {"en_US", 1234, "0###", "1234"},
        {"en_US", 5, "#0#", "05"},
        // Decimal places run to the last placeholder that is a '0'.
        {"en_US", 1.2, "0#.0#0#0#0#0", "01.200000000"},
        {"en_US", 1.5, "0.#0", "1.50"},
        {"en_US", 1.5, "0.0##", "1.5"},
        {"en_US", 1.25, "0.0#", "1.25"},
        {"en_US", 0.05f, "0.0000000000", "0.0500000000"},
        {"en_US", 123456, "00", "123456"},
        {"en_US", 1234, "00-00", "12-34"},
        {"en_US", 1.5, ".00", "1.50"},
        {"en_US", 1234567, "#,##0,", "1,235"},
        {"en_US", 1234567890, "#,##0,,", "1,235"},
        {"en_US", 0.256, "0.0%", "25.6%"},
        {"en_US", 12345, "0.00E+00", "1.23E+04"},
        {"en_US", 12345, "0.00e-00", "1.23e04"},
        {"en_US", 0.00012345, "0.00E-00", "1.23E-04"},
        // Every whole placeholder before an exponent takes a digit.
        {"en_US", 12345, "##0.0E+0", "123.5E+2"},
        {"en_US", 4.500001E45, "#000.0000e+0", "4500.0010e+42"},
        {"en_US", 0.000123, "#0.0E+00", "12.3E-05"},
        {"en_US", 0, "#0.0E+00", "0.0E+00"},
        {"en_US", 999.96, "0.0E+00", "1.0E+03"},
        {"en_US", 5, "\\$0 \"units\"", "$5 units"},
        {"en_US", 5, "0 kg", "5 kg"},
        {"en_US", 2.5, "0", "3"},
        {"en_US", 3.5, "0", "4"},
        {"en_US", -2.5, "0", "-3"},
        {"en_US", 1.005, "0.00", "1.01"},
        {"en_US", 2.675, "0.00", "2.68"},
        {"en_US", Money(12345), "0.000", "1.235"},
        {"en_US", Money(10000 * 3), "0.00", "3.00"},
    });
}

TEST(FormatLanguage, SectionChoice)
{
    RunCases({
        {"en_US", -5, "0.00;(0.00)", "(5.00)"},
        {"en_US", 5, "0.00;(0.00)", "5.00"},
        {"en_US", -5, "0.00;;\"zero\"", "-5.00"},
        {"en_US", 0, "0.00;;\"zero\"", "zero"},
        {"en_US", 0, "0.00;(0.00);", "0.00"},
        {"en_US", Variant::Null(), "0;-0;\"z\";\"nothing\"", "nothing"},
        {"en_US", Variant::Null(), "0;-0;\"z\"", ""},
        {"en_US", "", "@;\"(empty)\"", "(empty)"},
    });
}

TEST(FormatLanguage, PreciseValues)
{
    Decimal nineteen;
    nineteen.Lo = 1234567890123456789ULL;
    nineteen.Scale = 2;
    RunCases({
        {"en_US", nineteen, "#,##0.00", "12,345,678,901,234,567.89"},
        {"en_US", nineteen, "General Number", "12345678901234567.89"},
        {"en_US", Money(1000 + 2000), "0.00", "0.30"},
        {"en_US", 0.1 + 0.2, "0.00000000000000000", "0.30000000000000000"},
        {"en_US", 1.0 / 3.0, "General Number", "0.333333333333333"},
    });
}

TEST(FormatLanguage, DatesAndTimes)
{
    const Variant tuesday = Date(2002, 6, 4, 22, 5, 9);
    RunCases({
        {"en_US", tuesday, "d mmmm yyyy", "4 June 2002"},
        {"en_US", tuesday, "dddd, mmm d, yy", "Tuesday, Jun 4, 02"},
        {"en_US", tuesday, "dd/mm/yyyy", "04/06/2002"},
        {"de_DE", tuesday, "dd/mm/yyyy", "04.06.2002"},
        {"de_DE", tuesday, "dddd, d. mmmm yyyy", "Dienstag, 4. Juni 2002"},
        {"en_US", tuesday, "hh:mm:ss", "22:05:09"},
        {"en_US", tuesday, "h:m", "22:5"},
        {"en_US", tuesday, "mm", "06"},
        {"en_US", tuesday, "h:mm AM/PM", "10:05 PM"},
        {"en_US", tuesday, "h:mm am/pm", "10:05 pm"},
        {"en_US", tuesday, "h A/P", "10 P"},
        {"en_US", tuesday, "A/P", "P"},
        {"en_US", Date(2002, 6, 4, 9, 5), "a/p", "a"},
        {"en_US", Date(2002, 6, 4, 9, 5), "hh:nn a/p", "09:05 a"},
        {"en_US", Date(2002, 6, 4, 12, 0), "h a/p", "12 p"},
        {"en_US", tuesday, "AM/PM", "PM"},
        {"en_US", Date(2002, 6, 4, 0, 30), "h:nn AMPM", "12:30 AM"},
        {"en_US", tuesday, "q", "2"},
        {"en_US", tuesday, "y", "155"},
        {"en_US", tuesday, "w", "3"},
        {"en_US", tuesday, "ddddd", "6/4/2002"},
        {"en_GB", tuesday, "ddddd", "04/06/2002"},
        {"en_US", tuesday, "Long Date", "Tuesday, June 4, 2002"},
        {"en_GB", tuesday, "long date", "Tuesday, 4 June 2002"},
        {"en_US", tuesday, "Medium Date", "04-Jun-02"},
        {"en_US", tuesday, "Short Date", "6/4/2002"},
        {"de_DE", tuesday, "Short Date", "04.06.2002"},
        {"en_US", tuesday, "Long Time", "10:05:09 PM"},
        {"de_DE", tuesday, "Long Time", "22:05:09"},
        {"en_US", tuesday, "Medium Time", "10:05 PM"},
        {"en_US", tuesday, "Short Time", "22:05"},
        {"en_US", tuesday, "General Date", "6/4/2002 10:05:09 PM"},
        {"en_US", Date(2002, 6, 4), "General Date", "6/4/2002"},
        {"en_US", 0.75, "General Date", "6:00:00 PM"},
        {"en_US", 2, "dd/mm/yyyy", "01/01/1900"},
        {"en_US", "2002-06-04 00:00:00", "D MMMM YYYY", "4 June 2002"},
        {"en_US", "22:35:22", "HH:NN", "22:35"},
    });
}

TEST(FormatLanguage, WeekdaysAndWeeksFollowTheFirstDays)
{
    const Variant sunday = Date(2006, 1, 1);   // a Sunday
    const Variant monday = Date(2007, 1, 1);   // a Monday
    const Variant jan3 = Date(2010, 1, 3);     // a Sunday; 2010 starts on a Friday
    RunCases({{"en_US", sunday, "w ww", "1 1"}, {"en_US", monday, "w ww", "2 1"}, {"en_US", jan3, "ww", "2"}});
    RunCases({{"en_US", sunday, "w", "7"}, {"en_US", monday, "w", "1"}}, 2);
    // First four-day week, weeks from Monday: 3 January 2010 is still week 53 of 2009.
    RunCases({{"en_US", jan3, "ww", "53"}, {"en_US", Date(2010, 1, 4), "ww", "1"}}, 2, 2);
    // First full week from Sunday: 2010's begins on the 3rd.
    RunCases({{"en_US", jan3, "ww", "1"}, {"en_US", Date(2010, 1, 2), "ww", "52"}}, 1, 3);
}

TEST(FormatLanguage, Texts)
{
    RunCases({
        {"en_US", "abc", "@@@@@", "  abc"},
        {"en_US", "abc", "!@@@@@", "abc  "},
        {"en_US", "abc", "&&&&&", "abc"},
        {"en_US", "abcdef", "@@@", "abcdef"},
        {"en_US", "Smith", ">", "SMITH"},
        {"en_US", "Smith", "<@@@@@@", " smith"},
        {"en_US", "5551234", "@@@-@@@@", "555-1234"},
        // Characters fill the placeholders in order; the rest follows the last one.
        {"en_US", "testing", "\\x@\\x@", "xtxesting"},
        {"en_US", "ab", "\\x@\\x@\\x@", "x xaxb"},
        {"en_US", "ab", "!\\x@\\x@\\x@", "xaxbx "},
        {"en_US", "abcd", "(&&)", "(abcd)"},
        {"en_US", "abc", "0.00", "abc"},
        {"en_US", "", "", ""},
        {"en_US", true, "", "True"},
    });
}

TEST(FormatLanguage, OtherRoutines)
{
    test::ScopedLocale locale("en_US");
    EXPECT_EQ(VarFormatNumber(1234.567).toStdString(), "1,234.57");
    EXPECT_EQ(VarFormatNumber(-0.5, 1, 0, -1, 0).toStdString(), "(.5)");
    EXPECT_EQ(VarFormatNumber(Variant("1,234.5"), 0).toStdString(), "1,235");
    EXPECT_EQ(VarFormatCurrency(-1234.5, -1, kUseDefault, -1).toStdString(), "($1,234.50)");
    EXPECT_EQ(VarFormatPercent(0.22228).toStdString(), "22.23%");
    EXPECT_EQ(VarFormatDateTime(Date(2002, 6, 4, 10, 35, 22), 1).toStdString(), "Tuesday, June 4, 2002");
    EXPECT_EQ(VarFormatDateTime(Date(2002, 6, 4, 10, 35, 22), 3).toStdString(), "10:35:22 AM");
    EXPECT_EQ(VarFormatNumber(Variant::Null()).toStdString(), "");
    try {
        VarFormatNumber(Variant("twelve"));
        ADD_FAILURE() << "a text that is no number must raise";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), vberr::TypeMismatch);
    }
    EXPECT_THROW(VarFormat(Variant(1e9), QStringLiteral("yyyy")), ComError);
}

TEST(FormatLanguage, FirstDayAndWeekOutOfRangeRaise)
{
    test::ScopedLocale locale("en_US");
    const Variant sunday = Date(2006, 1, 1);
    EXPECT_EQ(VarFormat(sunday, QStringLiteral("w"), 0, 0).toStdString(), "1"); // 0: the defaults
    for (const auto &[day, week] : {std::pair{8, 1}, {-1, 1}, {1, 4}, {1, -1}}) {
        SCOPED_TRACE(std::to_string(day) + " " + std::to_string(week));
        try {
            VarFormat(sunday, QStringLiteral("ww"), day, week);
            ADD_FAILURE() << "an argument out of range must raise";
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), vberr::InvalidCall);
        }
    }
}

// The language's own text, the empty format and "General Number" agree for
// every kind: binary kinds by their digits, Decimal always plainly.
TEST(FormatLanguage, DefaultTextIsOneTextEverywhere)
{
    test::ScopedLocale locale("en_US");
    Decimal tiny;
    tiny.Lo = 1;
    tiny.Scale = 10;
    Decimal big;
    big.Lo = 12345678901234567890ULL;
    const struct { Variant value; const char *text; } cases[] = {
        {tiny, "0.0000000001"},
        {big, "12345678901234567890"},
        {1E-10, "0.0000000001"},
        {5.6789E-05, "0.000056789"},
        {1.5E-20, "1.5E-20"},
        {1E+15, "1E+15"},
        {0.05f, "0.05"},
        {1E+12f, "1E+12"},
        {qint64(12345678901234567), "12345678901234567"},
        {"12345678901234567", "12345678901234567"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value.ToText().toStdString(), c.text);
        EXPECT_EQ(VarFormat(c.value, QString()).toStdString(), c.text);
        EXPECT_EQ(VarFormat(c.value, QStringLiteral("General Number")).toStdString(), c.text);
    }
}
