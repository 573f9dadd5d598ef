// The JSON forms of values and settings that cross the host process's channel.
#include "HostProtocol.h"

#include "qvuser/automation/ComError.h"
#include "qvuser/automation/Variant.h"
#include "qvuser/biz/Settings.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using qv::Variant;

struct ValueCase
{
    const char *name;
    Variant value;
    QJsonValue expected;
};

TEST(HostProtocol, ValuesKeepTheirKindAndExactDigits)
{
    const ValueCase cases[] = {
        {"empty", Variant(), QJsonValue::Null},
        {"null", Variant::Null(), QJsonValue::Null},
        {"boolean", Variant(true), true},
        {"long", Variant(qint32(-7)), -7},
        {"small longlong", Variant(qint64(9007199254740992)), 9007199254740992.0},
        {"large longlong", Variant(qint64(9007199254740993)), QStringLiteral("9007199254740993")},
        {"double", Variant(2.5), 2.5},
        {"currency", Variant(qv::Currency{-125000}), QStringLiteral("-12.5")},
        {"decimal", Variant(qv::Decimal{0, 123456789, 4, false}), QStringLiteral("12345.6789")},
        {"date", Variant(qv::DateValue{44339.5}), QStringLiteral("2021-05-23T12:00:00")},
        {"date before 1899-12-30", Variant(qv::DateValue{-1.25}), QStringLiteral("1899-12-29T06:00:00")},
        {"text", Variant(QStringLiteral("Riga")), QStringLiteral("Riga")},
    };
    for (const ValueCase &c : cases)
        EXPECT_EQ(qvhostd::VariantToJson(c.value), c.expected) << c.name;
}

TEST(HostProtocol, SettingsComeBackAsTheyWent)
{
    qv::biz::Settings settings;
    settings.DataViewName = QStringLiteral("Sample Customers");
    settings.DataViewKey = QStringLiteral("9D2F");
    settings.DataViewType = 2;
    settings.FilterSet = true;
    settings.FilterField = QStringLiteral("City");
    settings.FilterOperator = 3;
    settings.FilterValue = QStringLiteral("Leeds");
    settings.FormatType = 5;
    settings.StyleName = QStringLiteral("Academic");
    settings.InsertPosition = 0;
    auto column = std::make_shared<qv::biz::ColumnSetting>();
    column->Caption = QStringLiteral("Id");
    column->Linked = true;
    column->ColumnWidth = 435.5f;
    column->ViewFormat = QStringLiteral("0");
    settings.Columns->Add(column, column->Caption);

    // Through text, as the channel carries it.
    const QByteArray text = QJsonDocument(qvhostd::SettingsToJson(settings)).toJson();
    const auto back = qvhostd::SettingsFromJson(QJsonDocument::fromJson(text).object());
    EXPECT_EQ(qvhostd::SettingsToJson(*back), qvhostd::SettingsToJson(settings));
    ASSERT_EQ(back->Columns->Count(), 1);
    EXPECT_TRUE(back->Columns->Item(QStringLiteral("Id"))->Linked);
    EXPECT_FLOAT_EQ(back->Columns->Item(QStringLiteral("Id"))->ColumnWidth, 435.5f);
}

struct BrokenSettings
{
    const char *json;
    qint32 number;
};

TEST(HostProtocol, BrokenSettingsAreRefusedWithTheirError)
{
    const BrokenSettings cases[] = {
        {R"({"FormatType": "two"})", qv::vberr::TypeMismatch},
        {R"({"FormatType": 2.5})", qv::vberr::TypeMismatch},
        {R"({"FilterSet": 1})", qv::vberr::TypeMismatch},
        {R"({"Columns": {"Caption": "Id"}})", qv::vberr::TypeMismatch},
        {R"({"Columns": ["Id"]})", qv::vberr::TypeMismatch},
        {R"({"Columns": [{"Caption": "Id", "Linked": "yes"}]})", qv::vberr::TypeMismatch},
        {R"({"Columns": [{"Caption": "Id", "Colour": 3}]})", qv::vberr::NotSupported},
    };
    for (const BrokenSettings &c : cases) {
        try {
            qvhostd::SettingsFromJson(QJsonDocument::fromJson(c.json).object());
            ADD_FAILURE() << c.json << " was taken";
        } catch (const qv::ComError &error) {
            EXPECT_EQ(error.Number(), c.number) << c.json;
        }
    }
    // A caption twice is one column; the first wins.
    const auto twice = qvhostd::SettingsFromJson(
        QJsonDocument::fromJson(R"({"Columns": [{"Caption": "Id", "Visible": false}, {"Caption": "Id"}]})").object());
    ASSERT_EQ(twice->Columns->Count(), 1);
    EXPECT_FALSE(twice->Columns->At(1)->Visible);
}

} // namespace
