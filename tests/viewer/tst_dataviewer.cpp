// The data viewer loaded with data views and driven like a user: row limits,
// preselection from selected-rows XML, check boxes, selection and outputs.
#include "TestMain.h"
#include "ViewerFixture.h"
#include "ViewerHost.h"

#include "ado/Stream.h"
#include "automation/ComError.h"
#include "viewer/ViewerOutput.h"

#include <QSignalSpy>

using namespace qv;
using qv::test::ViewerHost;

namespace {

bool IsChecked(ViewerHost &host, int row)
{
    return host.List()->model()->index(row, 0).data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
}

// A selected-rows XML with one Name field holding the given texts.
QString NamesXml(const QStringList &names)
{
    ado::Recordset rs;
    rs.Fields().Append("Name", ado::adVarWChar, 500);
    rs.Open();
    for (const QString &name : names)
        rs.AddNew({Variant("Name")}, {Variant(name)});
    return viewer::RecordsetXml(rs);
}

// Loads the view once, marks Name as the key column and hands the settings back.
void LinkNameColumn(ctlDataViewer &viewer, std::shared_ptr<config::DataView> view)
{
    viewer.SetDataView(view);
    auto settings = viewer.GetControlSettings();
    settings->Item("Name")->Linked = true;
    viewer.SetDataviewerColumnsSettings(settings);
}

TEST(DataViewer, RowLimitClampsAndReportsTheTotal)
{
    const struct { int maxRows, viewRows, shown; bool reported; } rows[] = {
        {0, 2100, 2000, true}, {5000, 2001, 2000, true}, {10, 25, 10, true}, {10, 10, 10, true}, {10, 9, 9, false},
    };
    for (const auto &row : rows) {
        ViewerHost host;
        QSignalSpy limit(host.viewer, &ctlDataViewer::ListLimitReached);
        auto view = test::PeopleView(row.viewRows);
        host.viewer->SetMaxRows(row.maxRows);
        host.viewer->SetDataView(view);
        EXPECT_EQ(host.viewer->RecordCount(), row.shown) << row.maxRows << '/' << row.viewRows;
        ASSERT_EQ(limit.count(), row.reported ? 1 : 0) << row.maxRows << '/' << row.viewRows;
        if (row.reported) {
            EXPECT_EQ(limit.first().at(0).toInt(), row.shown);
            EXPECT_EQ(limit.first().at(1).toInt(), row.viewRows);
        }
    }
}

TEST(DataViewer, CancelWhenTheLimitIsReachedStopsTheFill)
{
    ViewerHost host;
    QObject::connect(host.viewer, &ctlDataViewer::ListLimitReached, host.viewer, &ctlDataViewer::Cancel);
    auto view = test::PeopleView(30);
    host.viewer->SetMaxRows(10);
    host.viewer->SetDataView(view);
    EXPECT_TRUE(host.viewer->Cancelled());
    EXPECT_EQ(host.viewer->RecordCount(), 0);
}

TEST(DataViewer, ASingleRowComesUpSelectedAndChecked)
{
    ViewerHost host;
    QSignalSpy refresh(host.viewer, &ctlDataViewer::RefreshMe);
    auto view = test::PeopleView(1);
    host.viewer->SetDataView(view);
    EXPECT_EQ(host.viewer->SelectionCount(), 1);
    EXPECT_TRUE(IsChecked(host, 0));
    EXPECT_TRUE(host.List()->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(test::Column(*host.viewer->GetSelectedItems(), "Name"), QStringList{"Person 1"});
}

TEST(DataViewer, SelectedRowsXmlRechecksKeyMatchesIgnoringCase)
{
    ViewerHost host;
    auto view = test::PeopleView(6);
    LinkNameColumn(*host.viewer, view);
    host.viewer->SetDataView(view, NamesXml({"PERSON 2", "person 5", "", "Nobody"}));
    EXPECT_EQ(host.viewer->SelectionCount(), 2);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(IsChecked(host, row), row == 1 || row == 4) << row;
    EXPECT_TRUE(host.List()->selectionModel()->isRowSelected(1, {}));

    // without a key column nothing is found again
    ViewerHost fresh;
    fresh.viewer->SetDataView(view, NamesXml({"Person 2"}));
    EXPECT_EQ(fresh.viewer->SelectionCount(), 0);
}

TEST(DataViewer, OwnXmlReselectsTheSameRowsAfterColumnsAreReordered)
{
    ViewerHost host;
    auto view = test::PeopleView(8);
    LinkNameColumn(*host.viewer, view);
    host.viewer->SetDataView(view);
    host.ClickCheckBox(2);
    host.ClickCheckBox(6);
    ASSERT_EQ(host.viewer->SelectionCount(), 2);
    const QString xml = host.viewer->GetSelectedItemsXML();
    ASSERT_FALSE(xml.isEmpty());

    host.DragOnHeader(host.SectionCenter(3), host.SectionCenter(1) - QPoint(4, 0)); // Due before Name
    auto settings = host.viewer->GetControlSettings();
    ASSERT_EQ(settings->At(1)->Caption, "Due");
    host.viewer->SetDataviewerColumnsSettings(settings);
    host.viewer->SetDataView(view, xml);
    EXPECT_EQ(host.viewer->SelectionCount(), 2);
    EXPECT_EQ(test::Column(*host.viewer->GetSelectedItems(), "Name"), (QStringList{"Person 3", "Person 7"}));
    EXPECT_EQ(host.Header()->logicalIndex(1), 3);
}

TEST(DataViewer, OnlyRowsChosenInTheCurrentModeAreOutput)
{
    ViewerHost host;
    auto view = test::PeopleView(4);
    host.viewer->SetDataView(view);
    host.ClickCheckBox(2); // checked
    host.ClickRow(0);      // selected, not checked
    EXPECT_EQ(test::Column(*host.viewer->GetSelectedItems(), "Name"), QStringList{"Person 3"});

    host.viewer->SetCheckBoxes(false);
    host.ClickRow(1); // row 2 stays checked but is not selected
    EXPECT_EQ(test::Column(*host.viewer->GetSelectedItems(), "Name"), QStringList{"Person 2"});
    EXPECT_EQ(host.viewer->SelectionCount(), 1);
}

TEST(DataViewer, NothingChosenGivesNothing)
{
    ViewerHost host;
    auto view = test::PeopleView(3);
    host.viewer->SetDataView(view);
    EXPECT_EQ(host.viewer->GetSelectedItems(), nullptr);
    EXPECT_EQ(host.viewer->GetRawSelectedItems(), nullptr);
    EXPECT_EQ(host.viewer->GetSelectedItemsXML(), "");
}

TEST(DataViewer, TopItemsFollowTheListOrderOrGiveSampleRows)
{
    ViewerHost host;
    auto empty = test::MakeView(test::PeopleColumns(), {});
    host.viewer->SetDataView(empty);
    auto samples = host.viewer->GetTopItems(3);
    EXPECT_EQ(test::Column(*samples, "Name"), (QStringList{"Sample Row 1", "Sample Row 2", "Sample Row 3"}));
    EXPECT_EQ(test::Column(*samples, "Amount"), (QStringList{"", "", ""}));

    auto view = test::PeopleView(5);
    host.viewer->SetDataView(view);
    host.viewer->Sort(2, 1); // Name, descending
    EXPECT_EQ(test::Column(*host.viewer->GetTopItems(2), "Name"), (QStringList{"Person 5", "Person 4"}));
}

TEST(DataViewer, RawSelectionIsTheSourceFilteredToTheChosenRows)
{
    ViewerHost host;
    auto view = test::PeopleView(5);
    host.viewer->SetDataView(view);
    host.viewer->Sort(3, 1); // Amount, descending
    host.ClickCheckBox(0);   // Person 5
    host.ClickCheckBox(3);   // Person 2
    auto raw = host.viewer->GetRawSelectedItems();
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->RecordCount(), 2);
    EXPECT_EQ(test::Column(*raw, "Name"), (QStringList{"Person 5", "Person 2"}));
    raw->MoveFirst();
    EXPECT_EQ(raw->Fields().Item(QStringLiteral("Amount")).Value(), test::Money(5)); // the raw value, not its text
}

TEST(DataViewer, SelectAllDeselectAllAndCtrlA)
{
    for (const bool checkBoxes : {true, false}) {
        ViewerHost host;
        host.viewer->SetCheckBoxes(checkBoxes);
        auto view = test::PeopleView(7);
        host.viewer->SetDataView(view);
        host.viewer->SelectAll();
        EXPECT_EQ(host.viewer->SelectionCount(), host.viewer->RecordCount()) << checkBoxes;
        EXPECT_EQ(host.viewer->GetSelectedItems()->RecordCount(), 7) << checkBoxes;
        host.viewer->DeselectAll();
        EXPECT_EQ(host.viewer->SelectionCount(), 0) << checkBoxes;
        EXPECT_EQ(host.viewer->GetSelectedItems(), nullptr) << checkBoxes;

        host.List()->setFocus();
        QTest::keyClick(host.List(), Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(host.viewer->SelectionCount(), 7) << checkBoxes;
        EXPECT_EQ(host.viewer->GetSelectedItems()->RecordCount(), 7) << checkBoxes;
    }
}

TEST(DataViewer, ItemEventsCarryOneBasedIndexes)
{
    ViewerHost host;
    auto view = test::PeopleView(3);
    host.viewer->SetDataView(view);
    QSignalSpy checks(host.viewer, &ctlDataViewer::ItemCheck);
    QSignalSpy clicks(host.viewer, &ctlDataViewer::ItemClick);
    QSignalSpy doubles(host.viewer, &ctlDataViewer::ItemDoubleClick);
    QSignalSpy refresh(host.viewer, &ctlDataViewer::RefreshMe);
    host.ClickCheckBox(1);
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.first().at(0).toInt(), 2);
    EXPECT_EQ(host.viewer->SelectionCount(), 1);
    host.ClickCheckBox(1);
    EXPECT_EQ(host.viewer->SelectionCount(), 0);
    host.ClickRow(1, 2);
    QTest::keyClick(host.List(), Qt::Key_Space); // with a text cell current
    EXPECT_EQ(host.viewer->SelectionCount(), 1);
    EXPECT_EQ(checks.last().at(0).toInt(), 2);

    clicks.clear();
    host.ClickRow(2);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.first().at(0).toInt(), 3);
    QTest::mouseDClick(host.List()->viewport(), Qt::LeftButton, {},
                       host.List()->visualRect(host.List()->model()->index(2, 1)).center());
    ASSERT_GE(doubles.count(), 1);
    EXPECT_EQ(doubles.last().at(0).toInt(), 3);
    EXPECT_GE(refresh.count(), 3);
}

TEST(DataViewer, HideSelectionKeepsNoRowSelected)
{
    ViewerHost host;
    host.viewer->SetCheckBoxes(false);
    host.viewer->SetHideSelection(true);
    auto view = test::PeopleView(3);
    host.viewer->SetDataView(view, {}, true, true);
    QSignalSpy clicks(host.viewer, &ctlDataViewer::ItemClick);
    host.ClickRow(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(host.List()->selectionModel()->hasSelection());
    EXPECT_EQ(host.viewer->GetSelectedItems(), nullptr);
}

TEST(DataViewer, FailuresNameTheControlAndTheOperation)
{
    ViewerHost host;
    auto view = test::MakeView({{"Name", ado::adVarWChar, FieldTypeText, "none", false}}, {{Variant("x")}});
    try {
        host.viewer->SetDataView(view);
        FAIL() << "no error";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), qint32(0x80040001));
        EXPECT_TRUE(e.Source().startsWith("QVVIEWER.DataViewer.SetDataView(): ")) << e.Source().toStdString();
    }
    std::shared_ptr<config::DataView> none;
    host.viewer->SetDataView(none);
    EXPECT_EQ(host.viewer->RecordCount(), 0);
    EXPECT_EQ(host.viewer->GetControlSettings()->Count(), 0);
}

} // namespace
