// The data viewer's columns under the user's mouse: sorting by header clicks,
// the column menu, dragging and resizing, the protected check-box column and
// the changed-layout event.
#include "TestMain.h"
#include "ViewerFixture.h"
#include "ViewerHost.h"

#include "ui/Twips.h"

#include <QAbstractItemModelTester>
#include <QMenu>

using namespace qv;
using qv::test::ViewerHost;

namespace {

QStringList ShownColumn(ViewerHost &host, int column)
{
    QStringList out;
    for (int row = 0; row < host.List()->model()->rowCount(); ++row)
        out << host.List()->model()->index(row, column).data().toString();
    return out;
}

QStringList Captions(const biz::ColumnSettings &settings)
{
    QStringList out;
    for (const auto &s : settings)
        out << s->Caption;
    return out;
}

// Amounts $1,200.00, -$5.00 and $30.00; an unreadable date in the middle row.
std::shared_ptr<config::DataView> MoneyView()
{
    return test::MakeView({{"Name"},
                           {"Amount", ado::adCurrency, FieldTypeCurrency, "$#,##0.00"},
                           {"Due", ado::adVarWChar, FieldTypeDate, "none"}},
                          {{Variant("a"), test::Money(1200), Variant("2024-03-01")},
                           {Variant("b"), test::Money(-5), Variant("someday")},
                           {Variant("c"), test::Money(30), Variant("2023-12-31")}});
}

QMenu *ColumnMenu(ViewerHost &host)
{
    return host.viewer->findChild<QMenu *>("mnuColumnSettings");
}

// Right-clicks the header and clicks the menu entry of that name and caption.
void ChooseMenuEntry(ViewerHost &host, const QString &objectName, const QString &caption)
{
    host.RightClickHeader(1);
    QMenu *menu = ColumnMenu(host);
    ASSERT_TRUE(menu->isVisible());
    QMenu *owner = menu;
    if (objectName == "mnuColumnSettingsTotalsName") {
        owner = host.viewer->findChild<QMenu *>("mnuColumnSettingsTotals");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(owner->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([owner] { return owner->isVisible(); }, 2000));
    }
    for (QAction *action : owner->actions()) {
        if (action->objectName() == objectName && action->text() == caption) {
            QTest::mouseClick(owner, Qt::LeftButton, {}, owner->actionGeometry(action).center());
            return;
        }
    }
    FAIL() << "no entry " << caption.toStdString();
}

TEST(DataViewerColumns, HeaderClicksSortByKindAndReverse)
{
    const test::ScopedLocale us("en_US");
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.TakeChanges();

    host.ClickHeader(2);
    EXPECT_EQ(ShownColumn(host, 2), (QStringList{"-$5.00", "$30.00", "$1,200.00"}));
    EXPECT_EQ(host.TakeChanges(), 1);
    host.ClickHeader(2);
    EXPECT_EQ(ShownColumn(host, 2), (QStringList{"$1,200.00", "$30.00", "-$5.00"}));

    host.ClickHeader(3); // the unreadable date has no key and comes first
    EXPECT_EQ(ShownColumn(host, 3), (QStringList{"someday", "2023-12-31", "2024-03-01"}));
    auto settings = host.viewer->GetControlSettings();
    EXPECT_EQ(settings->Item("Due")->Sorted, 0);
    EXPECT_EQ(settings->Item("Amount")->Sorted, -1);
    const auto *model = host.List()->model();
    EXPECT_FALSE(model->headerData(2, Qt::Horizontal, Qt::DecorationRole).isValid());
    EXPECT_TRUE(model->headerData(3, Qt::Horizontal, Qt::DecorationRole).isValid());
}

TEST(DataViewerColumns, CheckBoxColumnCannotBeClickedResizedOrDisplaced)
{
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.TakeChanges();
    const auto before = ShownColumn(host, 1);
    const int width = host.Header()->sectionSize(0);

    host.ClickHeader(0);
    host.DragOnHeader(host.DividerOf(0), host.DividerOf(0) + QPoint(60, 0));
    host.DragOnHeader(host.SectionCenter(2), QPoint(2, host.Header()->height() / 2));
    EXPECT_EQ(host.Header()->sectionSize(0), width);
    EXPECT_EQ(host.Header()->visualIndex(0), 0);
    EXPECT_EQ(host.Header()->visualIndex(2), 2);
    EXPECT_EQ(ShownColumn(host, 1), before);
    EXPECT_EQ(host.TakeChanges(), 0);
}

TEST(DataViewerColumns, DraggedColumnLeadsSettingsAndOutput)
{
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.TakeChanges();
    host.DragOnHeader(host.SectionCenter(3), host.SectionCenter(1) - QPoint(4, 0));
    EXPECT_EQ(host.TakeChanges(), 1);
    EXPECT_EQ(Captions(*host.viewer->GetControlSettings()), (QStringList{"Due", "Name", "Amount"}));
    host.viewer->SelectAll();
    auto rs = host.viewer->GetSelectedItems();
    EXPECT_EQ(test::FieldNames(*rs), (QStringList{"Due", "Name", "Amount"}));
}

TEST(DataViewerColumns, MenuHidesColumnsFromOutputAndTotalsThem)
{
    const test::ScopedLocale us("en_US");
    ViewerHost host;
    auto view = test::MakeView(test::PeopleColumns(), {{Variant("Ann"), test::Money(10), test::Day(2024, 1, 2)},
                                                       {Variant("Bo"), test::Money(5.5), test::Day(2024, 1, 3)}});
    host.viewer->SetDataView(view);
    host.TakeChanges();
    ChooseMenuEntry(host, "mnuColumnSettingsName", "Due");
    EXPECT_TRUE(host.Header()->isSectionHidden(3));
    ChooseMenuEntry(host, "mnuColumnSettingsTotalsName", "Amount");
    EXPECT_EQ(host.TakeChanges(), 2);

    auto settings = host.viewer->GetControlSettings();
    EXPECT_EQ(Captions(*settings), (QStringList{"Name", "Amount", "Due"})); // hidden ones stay listed
    EXPECT_FALSE(settings->Item("Due")->Visible);
    EXPECT_EQ(settings->Item("Amount")->Totalled, 2);

    host.viewer->SelectAll();
    auto rs = host.viewer->GetSelectedItems();
    EXPECT_EQ(test::FieldNames(*rs), (QStringList{"Name", "Amount"}));
    EXPECT_EQ(test::Column(*rs, "Amount"), (QStringList{"$10.00", "$5.50", "$15.50"}));
    EXPECT_EQ(test::Column(*rs, "Name"), (QStringList{"Ann", "Bo", ""}));

    const int width = int(settings->Item("Due")->ColumnWidth);
    ChooseMenuEntry(host, "mnuColumnSettingsName", "Due");
    EXPECT_FALSE(host.Header()->isSectionHidden(3));
    EXPECT_TRUE(settings->Item("Due")->Visible);
    EXPECT_EQ(int(settings->Item("Due")->ColumnWidth), width);
}

TEST(DataViewerColumns, DividerDragRecordsTheWidth)
{
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.TakeChanges();
    const int width = host.Header()->sectionSize(1);
    host.DragOnHeader(host.DividerOf(1), host.DividerOf(1) + QPoint(40, 0));
    EXPECT_EQ(host.Header()->sectionSize(1), width + 40);
    EXPECT_EQ(host.TakeChanges(), 1);
    EXPECT_EQ(int(host.viewer->GetControlSettings()->Item("Name")->ColumnWidth),
              ui::PixelsToTwips(width + 40));
}

TEST(DataViewerColumns, DisabledMenusAndReorderingIgnoreTheUser)
{
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view, {}, true, true);
    host.TakeChanges();
    host.RightClickHeader(2);
    EXPECT_FALSE(ColumnMenu(host)->isVisible());

    const float recorded = host.viewer->GetControlSettings()->Item("Name")->ColumnWidth;
    host.DragOnHeader(host.SectionCenter(3), host.SectionCenter(1) - QPoint(4, 0));
    EXPECT_EQ(host.Header()->visualIndex(3), 3);
    host.DragOnHeader(host.DividerOf(1), host.DividerOf(1) + QPoint(40, 0));
    EXPECT_EQ(host.viewer->GetControlSettings()->Item("Name")->ColumnWidth, recorded);
    EXPECT_EQ(host.TakeChanges(), 0);
}

TEST(DataViewerColumns, LayoutCarriesOverWhileTheColumnsFit)
{
    ViewerHost host;
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.DragOnHeader(host.SectionCenter(2), host.SectionCenter(1) - QPoint(4, 0));
    ChooseMenuEntry(host, "mnuColumnSettingsName", "Due");
    host.viewer->SetDataviewerColumnsSettings(host.viewer->GetControlSettings());
    host.viewer->SetDataView(view);
    EXPECT_EQ(host.Header()->logicalIndex(1), 2);
    EXPECT_TRUE(host.Header()->isSectionHidden(3));

    // a data view with other columns starts afresh
    auto other = test::MakeView({{"City"}, {"Zip"}, {"Country"}}, {{Variant("Oslo"), Variant("0150"), Variant("NO")}});
    host.viewer->SetDataView(other);
    EXPECT_FALSE(host.Header()->isSectionHidden(3));
    EXPECT_EQ(host.Header()->logicalIndex(1), 1);
}

TEST(DataViewerColumns, LookFollowsEnabledAndColours)
{
    ViewerHost host;
    host.viewer->SetBackColor(Qt::yellow);
    EXPECT_EQ(host.List()->palette().color(QPalette::Base), QColor(Qt::yellow));
    host.viewer->SetEnabled(false);
    EXPECT_NE(host.List()->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_FALSE(host.List()->isEnabled());
    host.viewer->SetEnabled(true);
    EXPECT_EQ(host.List()->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_TRUE(host.viewer->PropertiesChanged());

    // the persisted properties travel to another control; missing ones take defaults
    ViewerHost other;
    other.viewer->SetCheckBoxes(false);
    other.viewer->ReadProperties(host.viewer->WriteProperties());
    EXPECT_EQ(other.viewer->BackColor(), QColor(Qt::yellow));
    EXPECT_TRUE(other.viewer->CheckBoxes());
    EXPECT_FALSE(other.viewer->PropertiesChanged());
    other.viewer->ReadProperties({});
    EXPECT_EQ(other.viewer->BackColor(), QApplication::palette(other.viewer).color(QPalette::Base));
}

TEST(DataViewerColumns, SortAndOrderSurviveRefreshAndTheNextShowing)
{
    ViewerHost host;
    // The model as the control drives it through loads, sorts and refills.
    QAbstractItemModelTester tester(host.List()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto view = MoneyView();
    host.viewer->SetDataView(view);
    host.ClickHeader(1);
    host.ClickHeader(1); // Name descending
    host.DragOnHeader(host.SectionCenter(3), host.SectionCenter(1) - QPoint(4, 0));
    host.ClickCheckBox(0);
    host.viewer->Refresh();
    EXPECT_EQ(host.viewer->SelectionCount(), 0);
    EXPECT_EQ(host.viewer->GetSelectedItems(), nullptr);
    EXPECT_EQ(host.Header()->logicalIndex(1), 3);
    EXPECT_EQ(ShownColumn(host, 1), (QStringList{"c", "b", "a"}));

    host.viewer->SetDataviewerColumnsSettings(host.viewer->GetControlSettings());
    host.viewer->SetDataView(view);
    EXPECT_EQ(host.Header()->logicalIndex(1), 3);
    EXPECT_EQ(ShownColumn(host, 1), (QStringList{"c", "b", "a"}));
}

} // namespace

// Money and dates line up on the right; one long text neither pushes the
// other columns out of sight nor hides its end: it is capped and told in
// full by its tooltip.
TEST(DataViewerColumns, LongTextsAreCappedAndNumbersAlignRight)
{
    const test::ScopedLocale us("en_US");
    ViewerHost host;
    const QString longText = QString(300, QLatin1Char('w'));
    auto view = test::MakeView({{"Note"}, {"Amount", ado::adCurrency, FieldTypeCurrency, "$#,##0.00"}},
                               {{Variant(longText), test::Money(12)}, {Variant("short"), test::Money(3)}});
    host.viewer->SetDataView(view);
    const auto *model = host.List()->model();
    const auto alignment = [&](int column) {
        return model->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(2), Qt::AlignRight) << "money is not right-aligned";
    EXPECT_NE(alignment(1), Qt::AlignRight) << "text is right-aligned";
    EXPECT_EQ(model->index(0, 1).data(Qt::ToolTipRole).toString(), longText);
    EXPECT_FALSE(model->index(1, 1).data(Qt::ToolTipRole).isValid()) << "a short text needs no tooltip";
    const int viewWidth = host.List()->viewport()->width();
    EXPECT_LE(host.Header()->sectionSize(1), std::max(240, viewWidth / 3)) << "the long text took the whole list";
    EXPECT_LT(host.Header()->sectionViewportPosition(2) + host.Header()->sectionSize(2), viewWidth)
        << "the amount column is off screen";

    // What is painted follows: the ink of "$3.00" in a wide cell is at its right end.
    host.Header()->resizeSection(2, 200);
    const QRect cell = host.List()->visualRect(model->index(1, 2));
    const QImage shot = host.List()->viewport()->grab().toImage();
    const auto inkIn = [&](int from, int to) {
        for (int x = cell.left() + from; x < cell.left() + to; ++x) {
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                if (qGray(shot.pixel(x, y)) < 128)
                    return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(inkIn(0, 100)) << "the amount was painted on the left";
    EXPECT_TRUE(inkIn(150, 200)) << "the amount was not painted on the right";
}
