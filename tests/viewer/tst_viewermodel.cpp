// The data viewer's model under Qt's model tester: filling, checking,
// sorting with persistent indexes following their rows.
#include "TestMain.h"

#include "viewer/DataViewerModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::viewer;

namespace {

std::shared_ptr<biz::ColumnSetting> Setting(const QString &caption, qint32 kind)
{
    auto s = std::make_shared<biz::ColumnSetting>();
    s->Caption = caption;
    s->ColumnType = kind;
    return s;
}

QStringList ColumnTexts(const DataViewerModel &model, int column)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.index(r, column).data().toString();
    return out;
}

TEST(DataViewerModel, PassesTheModelTesterWhileFilledCheckedAndSorted)
{
    const test::ScopedLocale us("en_US");
    DataViewerModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.ResetColumns({Setting("Name", FieldTypeText), Setting("Amount", FieldTypeCurrency)});
    model.AppendRows({{{"bo", "$1,200.00"}, 1, "1"}, {{"Al", "-$5.00"}, 2, "2"}});
    model.AppendRows({{{"cy", "$30.00"}, 3, "7"}});
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, DataViewerModel::TagRole).toString(), "CHECKBOX");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, DataViewerModel::TagRole).toString(), "KAmount");
    EXPECT_EQ(model.index(2, 0).data(DataViewerModel::TagRole).toString(), "3RAWBM7");

    QSignalSpy checks(&model, &DataViewerModel::CheckChanged);
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.first().at(0).toInt(), 1);

    const QPersistentModelIndex checkedRow = model.index(1, 1); // "Al"
    model.sort(2, Qt::AscendingOrder);
    EXPECT_EQ(ColumnTexts(model, 2), (QStringList{"-$5.00", "$30.00", "$1,200.00"}));
    EXPECT_EQ(checkedRow.row(), 0);
    EXPECT_EQ(model.index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);

    model.sort(1, Qt::DescendingOrder); // texts without regard to case
    EXPECT_EQ(ColumnTexts(model, 1), (QStringList{"cy", "bo", "Al"}));

    model.SetCheckBoxes(false);
    EXPECT_FALSE(model.index(0, 0).data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    model.Clear();
    EXPECT_EQ(model.columnCount(), 1);
}

} // namespace
