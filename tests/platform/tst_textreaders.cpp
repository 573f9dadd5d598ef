#include "automation/Format.h"

#include "TestMain.h"
#include "automation/ComError.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace qv;

namespace {

// The date read from a text as "yyyy-mm-dd hh:nn:ss", or "none".
std::string Read(const char *text)
{
    if (!IsDateText(QString::fromUtf8(text)))
        return "none";
    return VarFormat(Variant(VarDateFromStr(QString::fromUtf8(text))), QStringLiteral("yyyy-mm-dd hh:nn:ss"))
        .toStdString();
}

} // namespace

TEST(TextReaders, DatesUnderTheLocalesOrder)
{
    const int year = QDate::currentDate().year();
    const struct { const char *locale, *text, *expected; } cases[] = {
        {"en_US", "6/4/2002", "2002-06-04 00:00:00"},
        {"en_GB", "6/4/2002", "2002-04-06 00:00:00"},
        {"de_DE", "4.6.2002", "2002-06-04 00:00:00"},
        {"en_US", "13/1/2002", "2002-01-13 00:00:00"},
        {"en_US", "2002-06-04 22:35:22", "2002-06-04 22:35:22"},
        {"en_US", "June 4, 2002", "2002-06-04 00:00:00"},
        {"en_US", "4 jun 02", "2002-06-04 00:00:00"},
        {"en_US", "Tuesday, June 4, 2002", "2002-06-04 00:00:00"},
        {"de_DE", "4. Juni 2002", "2002-06-04 00:00:00"},
        {"en_US", "June 2002", "2002-06-01 00:00:00"},
        {"en_US", "1/5/29", "2029-01-05 00:00:00"},
        {"en_US", "1/5/30", "2030-01-05 00:00:00"},
        // Two-digit years: 1950 to 2049.
        {"en_US", "1/2/30", "2030-01-02 00:00:00"},
        {"en_US", "1/2/49", "2049-01-02 00:00:00"},
        {"en_US", "1/2/50", "1950-01-02 00:00:00"},
        {"en_GB", "31/12/99", "1999-12-31 00:00:00"},
        // '.' between the parts of a time where dates do not use it.
        {"en_US", "2.5", "1899-12-30 02:05:00"},
        {"en_US", "2.5.7", "1899-12-30 02:05:07"},
        {"en_US", "6/4/2002 9.30", "2002-06-04 09:30:00"},
        {"en_US", "02.01.1970", "none"},
        {"de_DE", "02.01.1970", "1970-01-02 00:00:00"},
        {"en_US", "13:00 PM", "1899-12-30 13:00:00"},
        {"en_US", "-1.1", "none"},
        {"en_US", "/6/4/2002", "none"},
        {"en_US", "1.5 2", "none"},
        {"en_US", "10 pm 6/4/2002", "none"},
        {"en_US", "6/4 am 2002", "none"},
        {"en_US", "10:35", "1899-12-30 10:35:00"},
        {"en_US", "10:35:22 PM", "1899-12-30 22:35:22"},
        {"en_US", "12 am", "1899-12-30 00:00:00"},
        {"en_US", "6/4/2002 9:05 pm", "2002-06-04 21:05:00"},
        {"en_US", "5", "none"},
        {"en_US", "2/30/2002", "none"},
        {"en_US", "25:00", "none"},
        {"en_US", "10:61", "none"},
        {"en_US", "13 pm", "1899-12-30 13:00:00"},
        {"en_US", "24:00", "none"},
        {"en_US", "abc", "none"},
        {"en_US", "", "none"},
        {"en_US", "1/2/3/4", "none"},
        {"en_US", "June July 2002", "none"},
        {"en_US", "10:", "none"},
    };
    for (const auto &c : cases) {
        test::ScopedLocale locale(c.locale);
        SCOPED_TRACE(std::string(c.locale) + " " + c.text);
        EXPECT_EQ(Read(c.text), c.expected);
    }
    test::ScopedLocale locale("en_US");
    EXPECT_EQ(Read("6/4"), std::to_string(year) + "-06-04 00:00:00");
}

TEST(TextReaders, Numbers)
{
    const struct { const char *locale, *text; double expected; bool ok; } cases[] = {
        {"en_US", "1,234.5", 1234.5, true},
        {"en_US", " -12 ", -12, true},
        {"en_US", "12-", -12, true},
        {"en_US", "(12.5)", -12.5, true},
        {"en_US", "$1,234.50", 1234.5, true},
        {"en_US", "-$5", -5, true},
        {"en_US", "1.5E3", 1500, true},
        {"en_US", "2e-2", 0.02, true},
        {"de_DE", "1.234,5", 1234.5, true},
        {"de_DE", "1234,50 €", 1234.5, true},
        // fr_FR groups with a narrow no-break space; people type either space.
        {"fr_FR", "1 234,5 €", 1234.5, true},
        {"fr_FR", "1\u00a0234,5", 1234.5, true},
        {"fr_FR", "1\u202f234\u202f567,5", 1234567.5, true},
        {"fr_FR", "1  234", 0, false},
        {"en_US", "1,,234", 0, false},
        {"en_US", "1,234,", 0, false},
        {"en_US", "1.2.3", 0, false},
        {"en_US", "1e", 0, false},
        {"en_US", "1e400", 0, false},
        {"en_US", "$", 0, false},
        {"en_US", "--5", 0, false},
        {"en_US", "", 0, false},
        {"en_US", "6/4/2002", 0, false},
    };
    for (const auto &c : cases) {
        test::ScopedLocale locale(c.locale);
        SCOPED_TRACE(std::string(c.locale) + " " + c.text);
        const QString text = QString::fromUtf8(c.text);
        ASSERT_EQ(IsNumericText(text), c.ok);
        if (c.ok)
            EXPECT_DOUBLE_EQ(VarR8FromStr(text), c.expected);
        else
            EXPECT_THROW(VarR8FromStr(text), ComError);
    }
}
