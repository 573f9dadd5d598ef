#include "automation/ComError.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"
#include "automation/OleDate.h"
#include "automation/Variant.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;

namespace {

template<typename F>
qint32 ErrorNumberOf(F &&f)
{
    try {
        f();
    } catch (const ComError &e) {
        return e.Number();
    }
    return 0;
}

struct TextCase
{
    const char *name;
    Variant value;
    const char *text;
};

class VariantText : public ::testing::TestWithParam<TextCase>
{};

Decimal MakeDecimal(quint64 lo, quint8 scale, bool negative, quint32 hi = 0)
{
    return Decimal{hi, lo, scale, negative};
}

} // namespace

TEST_P(VariantText, ConvertsAsTheLanguageDoes)
{
    EXPECT_EQ(GetParam().value.ToText(), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, VariantText,
    ::testing::Values(
        TextCase{"Empty", Variant(), ""}, TextCase{"Null", Variant::Null(), ""},
        TextCase{"True", Variant(true), "True"}, TextCase{"False", Variant(false), "False"},
        TextCase{"Long", Variant(qint32(-42)), "-42"},
        TextCase{"LongLong", Variant(qint64(9007199254740993LL)), "9007199254740993"},
        TextCase{"Third", Variant(1.0 / 3.0), "0.333333333333333"},
        TextCase{"FifteenDigits", Variant(123456789012345.0), "123456789012345"},
        TextCase{"SixteenDigitsGoExponent", Variant(1234567890123456.0), "1.23456789012346E+15"},
        TextCase{"PointOneTwo", Variant(0.1 + 0.2), "0.3"},
        TextCase{"SmallFixed", Variant(0.0001), "0.0001"},
        // Below one the plain form holds while 15 digits after the point suffice.
        TextCase{"SmallPlain", Variant(0.00001), "0.00001"},
        TextCase{"SmallPlainDigits", Variant(5.6789E-05), "0.000056789"},
        TextCase{"TenthOfBillionth", Variant(1E-10), "0.0000000001"},
        TextCase{"FifteenAfterPoint", Variant(1.5E-14), "0.000000000000015"},
        TextCase{"SixteenAfterPoint", Variant(1.5E-15), "1.5E-15"},
        TextCase{"ManyDigitsSmall", Variant(0.0123456789012346), "1.23456789012346E-02"},
        TextCase{"NegativeSmall", Variant(-2.5E-7), "-0.00000025"},
        TextCase{"Tiny", Variant(1E-300), "1E-300"},
        // Singles show the 7 digits they hold, not the noise of a double.
        TextCase{"SingleTwentieth", Variant(0.05f), "0.05"},
        TextCase{"SingleTrillion", Variant(1E+12f), "1E+12"},
        TextCase{"SingleSevenDigits", Variant(1234567.0f), "1234567"},
        TextCase{"SingleEightDigits", Variant(12345678.0f), "1.234568E+07"},
        TextCase{"SingleThird", Variant(1.0f / 3.0f), "0.3333333"},
        TextCase{"SingleNegative", Variant(-2.675f), "-2.675"},
        TextCase{"SingleSmall", Variant(1.5E-10f), "1.5E-10"},
        TextCase{"NegativeZero", Variant(-0.0), "0"},
        TextCase{"Big", Variant(1e300), "1E+300"},
        TextCase{"CurrencySum", Variant(Currency{1000 + 2000}), "0.3"},
        TextCase{"CurrencyFourPlaces", Variant(Currency{-123456}), "-12.3456"},
        TextCase{"CurrencyWhole", Variant(Currency{50000}), "5"},
        TextCase{"Decimal19Digits", Variant(MakeDecimal(1234567890123456789ULL, 4, false)),
                 "123456789012345.6789"},
        TextCase{"Decimal29Digits",
                 Variant(MakeDecimal(~0ULL, 0, true, 0xFFFFFFFFu)),
                 "-79228162514264337593543950335"},
        TextCase{"DecimalLeadingZeros", Variant(MakeDecimal(5, 3, false)), "0.005"},
        TextCase{"DecimalTenthOfBillionth", Variant(MakeDecimal(1, 10, false)), "0.0000000001"},
        TextCase{"DecimalTrailingZeros", Variant(MakeDecimal(1500, 3, false)), "1.5"},
        TextCase{"DecimalNegativeZero", Variant(MakeDecimal(0, 2, true)), "0"},
        TextCase{"DateOnly", Variant(DateValue{45292.0}), "1/1/2024"},
        TextCase{"DateAndTime", Variant(DateValue{45292.75}), "1/1/2024 6:00:00 PM"},
        TextCase{"TimeOnly", Variant(DateValue{0.5}), "12:00:00 PM"},
        TextCase{"String", Variant(QStringLiteral("abc")), "abc"},
        // A byte array taken as a string keeps its bytes, two to a character.
        TextCase{"Bytes", Variant(QByteArray("H\0i\0", 4)), "Hi"},
        TextCase{"BytesOddLength", Variant(QByteArray("O\0K", 3)), "OK"},
        TextCase{"BytesEmpty", Variant(QByteArray()), ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Variant, CStrOfNullRaises94)
{
    try {
        (void)Variant::Null().CStr();
        FAIL() << "no error raised";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), 94);
        EXPECT_EQ(e.Description(), QStringLiteral("Invalid use of Null"));
    }
    EXPECT_EQ(Variant().CStr(), QString());
}

TEST(Variant, TextFollowsTheLocaleDecimalCharacter)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Variant(1.5).ToText(), QStringLiteral("1,5"));
    EXPECT_EQ(Variant(Currency{12345}).ToText(), QStringLiteral("1,2345"));
    EXPECT_EQ(Variant(DateValue{45292.0}).ToText(), QStringLiteral("01.01.2024"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(Variant(DateValue{45292.0}).ToText(), QStringLiteral("01/01/2024"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(Variant, LongRoundsHalfToEvenAndOverflows)
{
    EXPECT_EQ(Variant(2.5).ToLong(), 2);
    EXPECT_EQ(Variant(3.5).ToLong(), 4);
    EXPECT_EQ(Variant(-2.5).ToLong(), -2);
    EXPECT_EQ(Variant(Currency{25000}).ToLong(), 2);
    EXPECT_EQ(Variant(Currency{35000}).ToLong(), 4);
    EXPECT_EQ(Variant(Currency{-35000}).ToLong(), -4);
    EXPECT_EQ(Variant(QStringLiteral(" 12 ")).ToLong(), 12);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(2147483648.0).ToLong(); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(qint64(1) << 40).ToLong(); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(std::nan("")).ToLong(); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(QStringLiteral("twelve")).ToLong(); }), 13);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Null().ToLong(); }), 94);
}

TEST(Variant, BooleanConversion)
{
    EXPECT_TRUE(Variant(QStringLiteral("true")).ToBool());
    EXPECT_FALSE(Variant(QStringLiteral(" FALSE ")).ToBool());
    EXPECT_TRUE(Variant(QStringLiteral("-1")).ToBool());
    EXPECT_FALSE(Variant(qint32(0)).ToBool());
    EXPECT_DOUBLE_EQ(Variant(true).ToDouble(), -1.0);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(QStringLiteral("yes please")).ToBool(); }), 13);
}

TEST(OleDate, DaysBeforeTheEpochKeepTheirTimeForwards)
{
    EXPECT_EQ(OleDateToDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(DateTimeToOleDate(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_EQ(OleDateToDateTime(2.5), QDateTime(QDate(1900, 1, 1), QTime(12, 0)));
    // A time a hair before midnight rounds to the next day, not to 23:59:59.999.
    EXPECT_EQ(OleDateToDateTime(1.0 - 1e-10), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_FALSE(OleDatePart(std::nan("")).isValid());
    // A date serial from a damaged workbook, too large for a day count (found by fuzzing).
    EXPECT_FALSE(OleDatePart(1.5e300).isValid());
    EXPECT_FALSE(OleTimePart(-9.3e18).isValid());
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 30, 15));
    EXPECT_EQ(OleDateToDateTime(DateTimeToOleDate(when.date(), when.time())), when);
}

// ISO date-times read as QDateTime reads them, date and time as written.
TEST(OleDate, IsoDateTimesReadAsWritten)
{
    const struct
    {
        const char *text;
        QDate date;
        QTime time;
    } cases[] = {
        {"2024-02-29T13:30:00.000", {2024, 2, 29}, {13, 30}},
        {" 1999-12-31T23:59:59.999 ", {1999, 12, 31}, {23, 59, 59, 999}},
        {"2024-02-29T13:30", {2024, 2, 29}, {13, 30}},
        {"2024-02-29", {2024, 2, 29}, {0, 0}},
        {"2024-02-29T13:30:00Z", {2024, 2, 29}, {13, 30}},
        {"2024-02-29T13:30:00+02:00", {2024, 2, 29}, {13, 30}},
        {"2024-02-29T13:30:00-05:30", {2024, 2, 29}, {13, 30}},
        {"2023-02-29T00:00:00", {}, {}},
        {"2024-02-29T25:00:00", {}, {}},
        {"29/02/2024", {}, {}},
        {"", {}, {}},
    };
    for (const auto &c : cases) {
        QDate date;
        QTime time;
        const bool read = ReadIsoDateTime(QString::fromLatin1(c.text), date, time);
        EXPECT_EQ(read, c.date.isValid()) << c.text;
        if (read) {
            EXPECT_EQ(QDateTime(date, time), QDateTime(c.date, c.time)) << c.text;
        }
    }
}

namespace {

NumberDigits Digits(const char *text)
{
    NumberDigits n;
    EXPECT_TRUE(ParseNumberText(QString::fromLatin1(text), CurrentLocaleFacts(), n)) << text;
    return n;
}

std::string PlainText(const NumberDigits &n)
{
    const int fraction = std::max(0, int(n.Digits.size()) - n.Point);
    std::string whole = n.IntegerDigits();
    std::string out = (n.Negative ? "-" : "") + (whole.empty() ? std::string("0") : whole);
    return fraction > 0 ? out + "." + n.FractionDigits(fraction) : out;
}

} // namespace

TEST(NumberDigits, SumsAndOrderKeepEveryDigit)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct { const char *a, *b, *sum; int order; } cases[] = {
        {"12345678901234567", "1", "12345678901234568", 1},
        {"99999999999999999999", "1", "100000000000000000000", 1},
        {"0.1", "0.2", "0.3", -1},
        {"-5", "3", "-2", -1},
        {"5", "-7.25", "-2.25", 1},
        {"-1.5", "-1.5", "-3", 0},
        {"1.005", "-1.005", "0", 1},
        {"0", "-0.001", "-0.001", 1},
        {"123.456", "0.000000000000000000001", "123.456000000000000000001", 1},
        {"-12345678901234567", "-12345678901234568", "-24691357802469135", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " + " + c.b);
        NumberDigits sum = Digits(c.a);
        sum.Add(Digits(c.b));
        EXPECT_EQ(PlainText(sum), c.sum);
        EXPECT_EQ(NumberDigits::Compare(Digits(c.a), Digits(c.b)), c.order);
        EXPECT_EQ(NumberDigits::Compare(Digits(c.b), Digits(c.a)), -c.order);
    }
}

TEST(Variant, ByteArraysAreNoNumbers)
{
    const Variant bytes(QByteArray("\x01\x02", 2));
    EXPECT_EQ(int(bytes.Type()), 8209); // the byte kind with the array flag
    EXPECT_FALSE(bytes.IsNumeric());
    EXPECT_EQ(ErrorNumberOf([&] { (void)bytes.ToDouble(); }), 13);
    EXPECT_EQ(ErrorNumberOf([&] { (void)bytes.ToLong(); }), 13);
    EXPECT_EQ(ErrorNumberOf([&] { (void)bytes.ToBool(); }), 13);
    EXPECT_EQ(bytes, Variant(QByteArray("\x01\x02", 2)));
    EXPECT_NE(bytes, Variant(QByteArray("\x01", 1)));
}
