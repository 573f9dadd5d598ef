#include "ui/FileDialog.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/ProgressDialog.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace qv::ui;

namespace {

struct FilterCase
{
    const char *name;
    const char *in;
    const char *out;
};

class FilterTranslation : public ::testing::TestWithParam<FilterCase>
{};

// The help folder as the build lays it out beside the libraries.
const QString kHelpFile = QStringLiteral(QV_BUILD_LIB "\\1033\\qvhelp.chm");

} // namespace

TEST_P(FilterTranslation, BecomesQtForm)
{
    EXPECT_EQ(TranslateFileFilter(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterTranslation,
    ::testing::Values(
        FilterCase{"One", "Access Databases|*.mdb;*.accdb", "Access Databases (*.mdb *.accdb)"},
        FilterCase{"Two", "Workbooks (*.xls)|*.xls|All Files (*.*)|*.*",
                   "Workbooks (*.xls);;All Files (*.*)"},
        FilterCase{"TrailingBar", "Config|*.cfg|", "Config (*.cfg)"},
        FilterCase{"UnpairedDescription", "Config|*.cfg|Orphan", "Config (*.cfg)"},
        FilterCase{"EmptyPattern", "Anything|", "Anything (*)"},
        FilterCase{"NoDescription", "|*.dsn", "*.dsn (*.dsn)"},
        FilterCase{"Empty", "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FileDialogService, DoubleRecordsAndAnswers)
{
    auto fake = std::make_shared<FileDialogDouble>();
    fake->Results.enqueue({true, QStringLiteral("/tmp/a.cfg"), 2});
    auto previous = SetFileDialogService(fake);
    FileDialogRequest request;
    request.Title = QStringLiteral("Open");
    request.Filter = QStringLiteral("Config|*.cfg|All|*.*");
    const FileDialogResult first = RunFileDialog(request);
    const FileDialogResult second = RunFileDialog(request);
    SetFileDialogService(previous);
    EXPECT_TRUE(first.Accepted);
    EXPECT_EQ(first.Path, QStringLiteral("/tmp/a.cfg"));
    EXPECT_FALSE(second.Accepted);
    ASSERT_EQ(fake->Requests.size(), 2);
    EXPECT_EQ(fake->Requests[0].Filter, request.Filter);
}

TEST(FileDialogService, RealDialogCancelledThroughTheModalHelper)
{
    modal_driver::Push([](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("dlgFile"));
        dialog.reject();
    });
    FileDialogRequest request;
    request.Filter = QStringLiteral("Config|*.cfg");
    EXPECT_FALSE(RunFileDialog(request).Accepted);
    EXPECT_EQ(modal_driver::Pending(), 0);
}

// A picker's folder and file come as the system's path texts, with '\\';
// the dialog opens where they point, and a picked path is a Linux path.
TEST(FileDialogService, RealDialogOpensWherePathTextsPoint)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("b.xls")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    modal_driver::Push([&](QDialog &dialog) {
        auto &files = static_cast<QFileDialog &>(dialog);
        EXPECT_EQ(files.directory().absolutePath(), QDir(dir.path()).absolutePath());
        dialog.accept();
    });
    FileDialogRequest request;
    request.Filter = QStringLiteral("Microsoft Excel files|*.xls");
    request.InitialFolder = QString(dir.path()).replace(u'/', u'\\');
    request.FileName = QStringLiteral("b.xls");
    const FileDialogResult result = RunFileDialog(request);
    EXPECT_TRUE(result.Accepted);
    EXPECT_EQ(QFileInfo(result.Path).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
    EXPECT_EQ(modal_driver::Pending(), 0);
}

TEST(ProgressDialogObject, ShowsAfterTheDelayAndReportsCancel)
{
    ProgressDialog progress;
    QSignalSpy cancelled(&progress, &ProgressDialog::Cancelled);
    progress.SetCaption(QStringLiteral("Fetching"));
    progress.SetMessage(QStringLiteral("Reading rows"));
    progress.SetValue(140);
    EXPECT_EQ(progress.Value(), 100);
    progress.ShowAfter(200);
    EXPECT_FALSE(progress.IsVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progress.IsVisible(), 5000);
    auto *dialog = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
    if (!dialog) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->isVisible())
                dialog = p;
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Fetching"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("Reading rows"));
    auto *cancel = dialog->findChild<QPushButton *>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_TRUE(progress.WasCancelled());
    progress.Close();
    EXPECT_FALSE(progress.IsVisible());
}

TEST(ProgressDialogObject, ClosedBeforeTheDelayNeverShows)
{
    ProgressDialog progress;
    progress.ShowAfter(50);
    progress.Close();
    QTest::qWait(150);
    EXPECT_FALSE(progress.IsVisible());
}

TEST(MousePointerHelper, SetsAndRestoresTheOverride)
{
    SetMousePointer(pointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetMousePointer(pointer::ArrowHourglass);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    SetMousePointer(pointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        BusyPointer busy;
        EXPECT_EQ(MousePointer(), pointer::Hourglass);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A pointer the host set before stays when ours goes.
TEST(MousePointerHelper, LeavesTheHostsOwnOverride)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    SetMousePointer(pointer::Hourglass);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetMousePointer(pointer::Default);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr) << "the host's pointer was popped";
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    SetMousePointer(pointer::Default);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    QGuiApplication::restoreOverrideCursor();
}

// A parent that goes while the progress window waits for its delay, or
// while it shows, takes the window along; the object outlives it safely.
TEST(ProgressDialogObject, OutlivesItsParent)
{
    auto parent = std::make_unique<QWidget>();
    ProgressDialog shown(parent.get());
    shown.ShowAfter(0);
    EXPECT_TRUE(shown.IsVisible());
    ProgressDialog waiting(parent.get());
    waiting.ShowAfter(20);
    parent.reset();
    EXPECT_FALSE(shown.IsVisible());
    QTest::qWait(60);
    EXPECT_FALSE(waiting.IsVisible());
    shown.SetValue(50);
    shown.Close();
}

TEST(TwipsHelper, FifteenTwipsAPixelAtNinetySixDpi)
{
    const double perPixel = TwipsPerPixel();
    EXPECT_NEAR(TwipsToPixels(1440), 1440.0 / perPixel, 0.5);
    EXPECT_NEAR(PixelsToTwips(TwipsToPixels(7860)), 7860, perPixel);
}

TEST(Help, TableOfContentsContextsAndPopups)
{
    EXPECT_TRUE(HelpFolderOf(kHelpFile + QStringLiteral("::/popups.txt")).endsWith(QStringLiteral("/1033/qvhelp")));
    ASSERT_TRUE(ShowHelp(nullptr, kHelpFile, 0));
    QWidget *window = HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto *browser = window->findChild<QTextBrowser *>(QStringLiteral("brwHelp"));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->source().path().endsWith(QStringLiteral("/index.html")));
    EXPECT_FALSE(browser->toPlainText().trimmed().isEmpty());

    ASSERT_TRUE(ShowHelp(nullptr, kHelpFile, 30010));
    EXPECT_FALSE(browser->source().path().endsWith(QStringLiteral("/index.html")));
    EXPECT_FALSE(ShowHelp(nullptr, kHelpFile, 987654)); // no such context
    EXPECT_FALSE(ShowHelp(nullptr, QStringLiteral("\\nowhere\\1033\\qvhelp.chm"), 0));
    window->close();

    EXPECT_FALSE(WhatsThisText(kHelpFile + QStringLiteral("::/popups.txt"), 30010).isEmpty());
    EXPECT_TRUE(WhatsThisText(kHelpFile, 987654).isEmpty());
    SetApplicationHelpFile(kHelpFile + QStringLiteral("::/popups.txt"));
    QWidget control;
    SetWhatsThisHelpId(&control, 30000);
    EXPECT_EQ(WhatsThisHelpId(&control), 30000);
    EXPECT_EQ(control.whatsThis(), WhatsThisText(kHelpFile, 30000));
    EXPECT_FALSE(control.whatsThis().isEmpty());
}
