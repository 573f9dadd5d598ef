#include "automation/Format.h"

#include "TestMain.h"

#include <QDate>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace qv;

namespace {

const char *const kNamedDateFormats[] = {"General Date", "Long Date", "Medium Date", "Short Date",
                                         "Long Time",    "Medium Time", "Short Time"};

// What a named format must never print: brackets with nothing inside, a
// separator at either end or doubled, space at either end or doubled.
QString Stray(const QString &text)
{
    static const QRegularExpression stray(QStringLiteral(
        R"(\(\s*\)|\[\s*\]|^[\s,;:/\-]|[\s,;:/\-]$|\s\s|,\s*,|\s,)"));
    const QRegularExpressionMatch match = stray.match(text);
    return match.hasMatch() ? match.captured() : QString();
}

// A mark the locale's own dates carry ("dddd , d" in nnh_CM) is its own, not stray.
bool OwnDatesHave(const QLocale &locale, const QString &mark)
{
    const QDate date(2002, 6, 4);
    return locale.toString(date, QLocale::LongFormat).contains(mark)
           || locale.toString(date, QLocale::ShortFormat).contains(mark);
}

} // namespace

// Every locale Qt ships: the named date and time formats of a morning and an
// evening moment print no stray brackets, separators or spaces.
TEST(FormatLocales, NamedFormatsPrintNoStrayMarks)
{
    const double morning = double(QDate(1899, 12, 30).daysTo(QDate(2002, 6, 4))) + 9.5 / 24;
    const double evening = morning + 9.0 / 24;
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    int failures = 0;
    for (const QLocale &qtLocale : locales) {
        const QByteArray name = qtLocale.name().toUtf8();
        test::ScopedLocale locale(name.constData());
        for (const char *format : kNamedDateFormats) {
            for (double days : {morning, evening}) {
                const QString text = VarFormat(Variant(DateValue{days}), QString::fromLatin1(format));
                const QString stray = Stray(text);
                if (!text.isEmpty() && (stray.isNull() || OwnDatesHave(qtLocale, stray)))
                    continue;
                ADD_FAILURE() << name.constData() << " " << format << ": \"" << text.toStdString() << "\"";
                if (++failures > 20)
                    return;
            }
        }
    }
}

TEST(FormatLocales, SpanishTimesDropTheZoneAndItsBrackets)
{
    test::ScopedLocale locale("es_ES");
    const Variant evening(DateValue{0.75});
    EXPECT_EQ(VarFormat(evening, QStringLiteral("Long Time")).toStdString(), "18:00:00");
    EXPECT_EQ(VarFormat(evening, QStringLiteral("General Date")).toStdString(), "18:00:00");
    EXPECT_EQ(VarFormatDateTime(evening, 3).toStdString(), "18:00:00");
}
