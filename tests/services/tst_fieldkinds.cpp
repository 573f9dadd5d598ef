#include "biz/FieldKinds.h"

#include "config/ConfigObjects.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(FieldKinds, EachAdoTypeHasTheKindItShowsAs)
{
    const struct { int adoType; qint32 kind; } cases[] = {
        {2, FieldTypeNumber},    {3, FieldTypeNumber},   {4, FieldTypeNumber},  {5, FieldTypeNumber},
        {14, FieldTypeNumber},   {20, FieldTypeNumber},  {21, FieldTypeNumber}, {131, FieldTypeNumber},
        {139, FieldTypeNumber},  {6, FieldTypeCurrency}, {7, FieldTypeDate},    {133, FieldTypeDate},
        {135, FieldTypeDate},    {134, FieldTypeTime},   {11, FieldTypeBoolean}, {8, FieldTypeText},
        {202, FieldTypeText},    {203, FieldTypeText},   {128, FieldTypeNone},  {72, FieldTypeNone},
        {205, FieldTypeNone},    {0, FieldTypeNone},
    };
    for (const auto &c : cases)
        EXPECT_EQ(biz::FieldKindOfAdoType(c.adoType), c.kind) << "ADO type " << c.adoType;
}

TEST(FieldKinds, AFieldKeepsTheKindTheUserChose)
{
    config::Field fresh(1, nullptr);
    fresh.AdoType = 5;
    biz::GiveFieldKind(fresh);
    EXPECT_EQ(fresh.DataKind, FieldTypeNumber);

    config::Field percent(2, nullptr);
    percent.AdoType = 5;
    percent.DataKind = FieldTypePercent;
    biz::GiveFieldKind(percent);
    EXPECT_EQ(percent.DataKind, FieldTypePercent);
}
