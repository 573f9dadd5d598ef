// Insert Data as an author meets it: a source that fails, the filter in
// force, Enter in the value box, styles that follow the layout, feedback,
// empty results and a source that moved.
#include "SelectDriver.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"
#include "ui/FileDialog.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

// A data view whose source is gone shows its error and nothing of the data
// view shown before; OK stays off and the picker takes the next choice.
TEST_F(DialogTest, AFailedLoadLeavesNothingToInsert)
{
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("personal.cfg"));
    ASSERT_TRUE(QFile::copy(SampleConfig(), config));
    {
        auto personal = config::ConfigStore::Create();
        personal->Open(config);
        auto prices = personal->DataViewCollection().ItemByName(QStringLiteral("Sample Price List"));
        prices->Source.ConnectionText = QStringLiteral("Driver=SQLite3;Database=") + folder.filePath(QStringLiteral("moved/gone.db"));
        personal->Save();
    }
    biz::ConfigFileSettings().SetConfigFilePath(1, config);
    frmSelectDataItems form;
    RunSelect(form, SelectRequest(), [this](frmSelectDataItems &f) {
        auto *picker = Child<QComboBox>(f, "icboDataView");
        ChooseText(picker, QStringLiteral("Sample Customers"));
        ASSERT_TRUE(WaitIdle(f));
        ASSERT_GT(Viewer(f)->RecordCount(), 0);
        TickRow(f, 0);
        ASSERT_TRUE(Button(f, "cmdOK")->isEnabled());
        ChooseText(picker, QStringLiteral("Sample Price List"));
        ASSERT_TRUE(WaitIdle(f));
        ASSERT_EQ(messages->Messages.size(), 1) << "no error for the missing source";
        EXPECT_TRUE(messages->Messages[0].Text.contains(QStringLiteral("gone.db")));
        EXPECT_EQ(Viewer(f)->RecordCount(), 0) << "the rows of the data view before stayed";
        EXPECT_FALSE(Button(f, "cmdOK")->isEnabled()) << "OK would insert rows of another data view";
        EXPECT_EQ(Status(f), QString());
        EXPECT_TRUE(picker->isVisible());
        EXPECT_TRUE(picker->isEnabled());
        ChooseText(picker, QStringLiteral("Sample Offices"));
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(Viewer(f)->RecordCount(), 0) << "the picker no longer works";
        Click(f, "cmdCancel");
    });
}

// The host's condition is the filter in force: a typed value replaces it
// (Enter in the value box applies, it does not insert), Remove shows every
// row, and the host's data view gets its condition back at the end.
TEST_F(DialogTest, TheFilterInForceIsReplacedAndRemoved)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Large Orders");
    auto amount = request.oDataView->Fields.Item(QStringLiteral("Amount"));
    request.lDisplayParam = amount->Conditions.front().Id;
    RunSelect(form, request, [](frmSelectDataItems &f) {
        EXPECT_EQ(Viewer(f)->RecordCount(), 987);
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Remove &Filter")) << "the filter in force";
        TickRow(f, 0);
        auto *value = Child<QComboBox>(f, "cboParam");
        TypeInto(value, QStringLiteral("900"));
        QTest::keyClick(value, Qt::Key_Return);
        ASSERT_TRUE(f.isVisible()) << "Enter in the value box inserted the ticked rows";
        ASSERT_TRUE(WaitIdle(f));
        const int above900 = Viewer(f)->RecordCount();
        EXPECT_GT(above900, 0);
        EXPECT_LT(above900, 987) << "the typed value did not filter";
        TypeInto(value, QStringLiteral("400"));
        QTest::keyClick(value, Qt::Key_Enter);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(Viewer(f)->RecordCount(), 987) << "the new filter was added to the one in force";
        Click(f, "cmdApplyFilter"); // Remove
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Apply &Filter"));
        EXPECT_EQ(Viewer(f)->RecordCount(), 2000) << "Remove left a filter in force";
        EXPECT_EQ(Status(f), QStringLiteral("First 2,000 records displayed")) << "all 2000 orders";
        Click(f, "cmdCancel");
    });
    ASSERT_EQ(amount->Conditions.size(), 1u) << "the host's condition was not given back";
    EXPECT_EQ(amount->Conditions.front().Id, request.lDisplayParam);
}

// The style list is the layout's: a table style gives way when a sentence
// is chosen, a style of both lists stays, and a style picked just before a
// layout change is kept.
TEST_F(DialogTest, TheStyleFollowsTheLayout)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Price List");
    request.colTableStyles = Styles({QStringLiteral("Grid"), QStringLiteral("Plain")});
    request.colParagraphStyles = Styles({QStringLiteral("Quote"), QStringLiteral("Plain")});
    RunSelect(form, request, [](frmSelectDataItems &f) {
        auto *layout = Child<QComboBox>(f, "cboFormatType");
        auto *style = Child<QComboBox>(f, "cboFormatStyle");
        ChooseText(style, QStringLiteral("Grid"));
        ChooseText(layout, LoadResString(81602)); // Sentence
        EXPECT_EQ(style->currentText(), LoadResString(dialogs::kNoStyleString)) << "a table style under a sentence";
        ChooseText(style, QStringLiteral("Plain"));
        ChooseText(layout, LoadResString(81600)); // Table
        EXPECT_EQ(style->currentText(), QStringLiteral("Plain")) << "a style of both lists was lost";
        ChooseText(layout, LoadResString(81603)); // Paragraph
        ChooseText(style, QStringLiteral("Quote"));
        ChooseText(layout, LoadResString(81602)); // Sentence
        EXPECT_EQ(style->currentText(), QStringLiteral("Quote")) << "the style picked before the change was lost";
        TickRow(f, 0);
        Click(f, "cmdOK");
    });
    EXPECT_EQ(form.Result().Style(), QStringLiteral("Quote"));
    EXPECT_EQ(form.Result().Settings()->FormatType, 3);
}

// Saving settings says so in the status bar, and the count comes back.
TEST_F(DialogTest, SavingSettingsSaysSo)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Price List");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        const QString count = Status(f);
        ChooseText(Child<QComboBox>(f, "cboFormatType"), LoadResString(81603));
        Click(f, "cmdSaveSettings");
        EXPECT_EQ(Status(f), QStringLiteral("Settings saved for 'Sample Price List'."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status(f) == count; }, 10000))
            << "the count never came back: " << Status(f).toStdString() << " vs " << count.toStdString();
        Click(f, "cmdCancel");
    });
}

// A filter that matches nothing says so in the status and in the list, and
// the count it is told against is that of every row.
TEST_F(DialogTest, AnEmptyFilterResultSaysSo)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        auto *empty = Viewer(f)->findChild<QLabel *>(QStringLiteral("lblEmpty"));
        ASSERT_TRUE(empty);
        EXPECT_FALSE(empty->isVisible()) << "the empty line over 250 rows";
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("City"));
        TypeInto(Child<QComboBox>(f, "cboParam"), QStringLiteral("Atlantis"));
        Click(f, "cmdApplyFilter");
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 0);
        EXPECT_EQ(Status(f), QStringLiteral("0 of 250 records"));
        EXPECT_TRUE(empty->isVisible()) << "a blank list";
        EXPECT_EQ(empty->text(), QStringLiteral("No records match the filter."));
        EXPECT_FALSE(Button(f, "cmdOK")->isEnabled());
        Click(f, "cmdApplyFilter"); // Remove
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 250);
        EXPECT_FALSE(empty->isVisible()) << "the line stayed over the rows";
        Click(f, "cmdCancel");
    });
}

// A workbook that moved: the error offers Locate..., the file picked there
// becomes the data view's source in its configuration file, and the rows
// load. A second showing reads from the new place without asking.
TEST_F(DialogTest, AMovedSourceIsLocatedAndKept)
{
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("personal.cfg"));
    const QString moved = folder.filePath(QStringLiteral("elsewhere/prices.xlsx"));
    ASSERT_TRUE(QFile::copy(SampleConfig(), config));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QFile::copy(SampleFolder() + QStringLiteral("/Sample Price List.xlsx"), moved));
    qint32 id = 0;
    {
        auto personal = config::ConfigStore::Create();
        personal->Open(config);
        auto prices = personal->DataViewCollection().ItemByName(QStringLiteral("Sample Price List"));
        id = prices->Id();
        prices->Source.ConnectionText.replace(SampleFolder() + QStringLiteral("/Sample Price List.xlsx"),
                                              folder.filePath(QStringLiteral("gone.xlsx")));
        personal->Save();
    }
    biz::ConfigFileSettings().SetConfigFilePath(1, config);
    auto files = std::make_shared<ui::FileDialogDouble>();
    files->Results.enqueue({true, moved, 1});
    const auto previousFiles = ui::SetFileDialogService(files);
    messages->Answers.enqueue(ui::mb::Action);
    frmSelectDataItems form;
    RunSelect(form, SelectRequest(), [this](frmSelectDataItems &f) {
        ChooseText(Child<QComboBox>(f, "icboDataView"), QStringLiteral("Sample Price List"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Viewer(f)->RecordCount() > 0; }, 20000)) << "no rows after Locate";
        ASSERT_TRUE(WaitIdle(f));
        ASSERT_EQ(messages->Messages.size(), 1);
        EXPECT_EQ(messages->Messages[0].Action, QStringLiteral("&Locate..."));
        EXPECT_TRUE(messages->Messages[0].Text.contains(QStringLiteral("gone.xlsx")));
        Click(f, "cmdCancel");
    });
    ui::SetFileDialogService(previousFiles);
    ASSERT_EQ(files->Requests.size(), 1);
    EXPECT_EQ(files->Requests[0].InitialFolder, folder.path()) << "the picker starts where the file was";
    EXPECT_EQ(files->Requests[0].FileName, QStringLiteral("gone.xlsx"));
    auto saved = config::ConfigStore::Create();
    saved->Open(config);
    EXPECT_TRUE(saved->DataViewCollection().Item(id)->Source.ConnectionText.contains(moved))
        << "the new place was not saved";
    EXPECT_EQ(saved->DataViewCollection().Count(), store->DataViewCollection().Count());
}
