#include "DialogsFixture.h"
#include "dialogs/frmViewDataItems.h"

#include "config/ConfigObjects.h"
#include "viewer/ctlDataViewer.h"

#include <QApplication>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

namespace {

// Shows the window as a View Data request does and hands it to the driver
// once the rows are in.
void RunView(const std::shared_ptr<config::DataView> &view, qint32 preview, const QString &caption,
             const std::function<void(frmViewDataItems &)> &driver)
{
    frmViewDataItems form;
    ui::modal_driver::Push([driver](QDialog &dialog) {
        auto &view = static_cast<frmViewDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(view));
        driver(view);
    });
    RunViewData(form, {view, preview, caption, nullptr});
}

} // namespace

TEST_F(DialogTest, ViewDataPreviewFullAndUntitled)
{
    auto view = View("Sample Customers");
    RunView(view, 5, QStringLiteral("Preview"), [](frmViewDataItems &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Preview - Sample Customers"));
        EXPECT_EQ(Child<ctlDataViewer>(f, "ctlDataViewer")->RecordCount(), 5);
        EXPECT_TRUE(Child(f, "ctlDataViewer")->isVisible());
        EXPECT_FALSE(Child(f, "optNativeView")->isEnabled()) << "a database cannot render itself";
        EXPECT_FALSE(Child(f, "chkShow")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(f, "optTableView")->isChecked());
        QTest::mouseClick(Child(f, "cmdClose"), Qt::LeftButton);
    });
    EXPECT_FALSE(view->Recordset) << "closing releases the rows";

    view->Name.clear();
    RunView(view, 0, QStringLiteral("Viewing Data"), [](frmViewDataItems &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Viewing Data - (Untitled)"));
        EXPECT_EQ(f.State().ProgressTitle(), QStringLiteral("(Untitled) Rows"));
        EXPECT_EQ(Child<ctlDataViewer>(f, "ctlDataViewer")->RecordCount(), 250);
        EXPECT_EQ(Child<QStatusBar>(f, "sbrStatusBar")->currentMessage(), QStringLiteral("250 records displayed"));
        f.close();
    });
}

TEST_F(DialogTest, ViewDataNativeViewOfAPage)
{
    RunView(View("Sample Offices"), 0, QStringLiteral("Preview"), [](frmViewDataItems &f) {
        auto *browser = Child<QTextBrowser>(f, "WebBrowser");
        EXPECT_TRUE(browser->isVisible());
        EXPECT_TRUE(Child<QRadioButton>(f, "optNativeView")->isChecked());
        const QString table = browser->toPlainText();
        EXPECT_FALSE(table.isEmpty());
        QTest::mouseClick(Child(f, "chkShow"), Qt::LeftButton);
        EXPECT_GT(browser->toPlainText().size(), table.size()) << "contextual data adds the page around the table";
        QTest::mouseClick(Child(f, "optTableView"), Qt::LeftButton);
        EXPECT_TRUE(Child(f, "ctlDataViewer")->isVisible());
        EXPECT_FALSE(browser->isVisible());
        f.close();
    });
}

TEST_F(DialogTest, ViewDataPlacementSurvivesReopening)
{
    QRect placed;
    RunView(View("Sample Tasks"), 0, QStringLiteral("Preview"), [&](frmViewDataItems &f) {
        f.move(90, 75);
        f.resize(720, 540);
        placed = f.geometry();
        f.close();
    });
    RunView(View("Sample Tasks"), 0, QStringLiteral("Preview"), [&](frmViewDataItems &f) {
        EXPECT_EQ(f.geometry().size(), placed.size());
        EXPECT_EQ(f.pos(), QPoint(90, 75));
        f.close();
    });
}

// Until the user places it, the window opens centred over the host's window,
// and a preview is as tall as its rows: no empty list below them.
TEST_F(DialogTest, APreviewOpensOverTheHostSizedToItsRows)
{
    QWidget host;
    host.setGeometry(300, 200, 800, 600);
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    RunView(View("Sample Customers"), 5, QStringLiteral("Preview"), [&host](frmViewDataItems &f) {
        auto *viewer = Child<ctlDataViewer>(f, "ctlDataViewer");
        ASSERT_EQ(viewer->RecordCount(), 5);
        const QPoint offset = f.frameGeometry().center() - host.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << "not over the host's window";
        const int spare = viewer->height() - viewer->HeightForRows(5);
        EXPECT_GE(spare, 0) << "the rows do not fit";
        EXPECT_LT(spare, viewer->HeightForRows(1)) << "room for more rows than the preview has";
        QTest::mouseClick(Child(f, "cmdClose"), Qt::LeftButton);
    });
}
