// The manager's commands through the window, with real mouse and key
// events: copy and paste by key, toolbar and right-click menu into the same
// and the other root, delete with its question and the selection after it,
// rename in place with its limits, the smart tag commands, and the wizards
// and windows the commands open.
#include "ManagerInput.h"

#include "manager/ManagerCommands.h"
#include "qvuser/DVUser.h"
#include "smarttags/frmSmartTagTerms.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

using namespace qv;
using namespace qv::manager;
using namespace qv::test;

namespace {

// The editor of an in-place rename, once F2 has opened it.
QLineEdit *RenameEditor(frmMain &form)
{
    // Closed editors linger, hidden, until the event loop deletes them.
    for (QLineEdit *editor : ListView(form)->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

void TypeName(frmMain &form, const QString &text)
{
    // A click on the item already selected opens the editor itself, a
    // double-click's time later, and F2 then finds it on its way.
    QTRY_VERIFY2(RenameEditor(form), "no editor opened");
    QLineEdit *editor = RenameEditor(form);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view takes the text once the key's event is over.
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(ManagerTest, CopyAndPasteByKeyToolbarAndRightClickIntoBothRoots)
{
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    ASSERT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Orders"));
    EXPECT_FALSE(Enabled(form, "mnuEditPaste"));

    ClickName(form, "Orders");
    Key(form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(Enabled(form, "mnuEditPaste"));
    EXPECT_TRUE(Enabled(form, "Paste"));
    // Into the folder it came from: "Copy of", then "Copy (1) of".
    Key(form, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,Copy of Orders,customers,Orders"));
    ClickToolbar(form, "Paste");
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,Copy (1) of Orders,Copy of Orders,customers,Orders"));
    EXPECT_EQ(FileNames(personalPath), QStringLiteral("Orders,customers,Budget,Copy of Orders,Copy (1) of Orders"))
        << "each paste is saved at once";
    EXPECT_EQ(Selected(form), QStringLiteral("Orders")) << "the selection stays";

    // Into the team's folder through its right-click menu: the name kept.
    ClickNode(form, 4);
    ASSERT_EQ(ListTexts(form), QStringLiteral("Projects"));
    Choose(RightClickRow(form, 0), "mnuPopupPaste");
    EXPECT_EQ(ListTexts(form), QStringLiteral("Orders,Projects"));
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Orders"));
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("2 Items"));

    // Several at once, in list order, through the Edit menu's keys.
    ClickNode(form, 1);
    ClickName(form, "Budget");
    ClickName(form, "customers", Qt::ControlModifier);
    ClickToolbar(form, "Copy");
    ClickNode(form, 4);
    Key(form, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Orders,Budget,customers"));
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();
}

TEST_F(ManagerTest, DeleteAsksOnceAndSelectsTheItemThatTookThePlace)
{
    for (const char *name : {"Alpha", "Beta"})
        AddView(*personal, name, 5, "ODBC", "DSN=x");
    personal->Save();
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    ASSERT_EQ(ListTexts(form), QStringLiteral("Alpha,Beta,Budget,customers,Orders"));

    // The second of five by the Delete key: the new second is selected.
    ClickName(form, "Beta");
    Key(form, Qt::Key_Delete);
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(kMsgConfirmOne, {QStringLiteral("Beta")}));
    EXPECT_EQ(messages->Messages[0].Style, 36);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Alpha,Budget,customers,Orders"));
    EXPECT_EQ(Selected(form), QStringLiteral("Budget"));
    EXPECT_EQ(FileNames(personalPath), QStringLiteral("Orders,customers,Budget,Alpha"));

    // The last by the toolbar: the first is selected.
    ClickName(form, "Orders");
    ClickToolbar(form, "Delete");
    EXPECT_EQ(ListTexts(form), QStringLiteral("Alpha,Budget,customers"));
    EXPECT_EQ(Selected(form), QStringLiteral("Alpha"));

    // No: nothing goes.
    messages->Messages.clear();
    messages->Answers.enqueue(ui::mb::No);
    ClickName(form, "Alpha");
    Choose(RightClickRow(form, RowOf(form, QStringLiteral("Alpha"))), "mnuPopupDelete");
    EXPECT_EQ(ListTexts(form), QStringLiteral("Alpha,Budget,customers"));

    // Two, one of them used by a smart tag: its message, then one question naming the other.
    auto store = ManagerTest::Open(personalPath);
    auto tag = store->SmartTagSets().Item(1)->AddNew();
    tag->Name = QStringLiteral("Customer names");
    tag->Recognizer.SetDataView(store->DataViewCollection().ItemByName(QStringLiteral("customers")));
    store->Save();
    messages->Messages.clear();
    ClickName(form, "Budget");
    ClickName(form, "customers", Qt::ControlModifier);
    ASSERT_EQ(Selected(form), QStringLiteral("Budget,customers"));
    Key(form, Qt::Key_Delete);
    ASSERT_EQ(messages->Messages.size(), 2) << Messages().toStdString();
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(kMsgConfirmOne, {QStringLiteral("Budget")}));
    EXPECT_EQ(messages->Messages[1].Text, LoadResString(kMsgInUse, {QStringLiteral("customers")}));
    EXPECT_EQ(messages->Messages[1].Style, 16);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Alpha,customers"));
    EXPECT_EQ(FileNames(personalPath), QStringLiteral("customers,Alpha"));
}

TEST_F(ManagerTest, RenameInPlaceWithItsLimits)
{
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    ClickName(form, "Orders");
    Key(form, Qt::Key_F2);
    TypeName(form, QStringLiteral("  Sales Orders "));
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Sales Orders"));
    EXPECT_EQ(FileNames(personalPath), QStringLiteral("Sales Orders,customers,Budget")) << "saved at once, trimmed";
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();

    const struct
    {
        QString text;
        quint32 message;
    } refused[] = {
        {QString(101, QLatin1Char('n')), kMsgNameTooLong},
        {QStringLiteral("   "), kMsgNameMissing},
        {QStringLiteral("BUDGET"), kMsgNameTaken},
        {QStringLiteral("Sales Orders"), 0},
    };
    for (const auto &row : refused) {
        SCOPED_TRACE(row.text.toStdString());
        messages->Messages.clear();
        ClickName(form, "Sales Orders");
        Choose(RightClickRow(form, RowOf(form, QStringLiteral("Sales Orders"))), "mnuPopupRename");
        TypeName(form, row.text);
        EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Sales Orders")) << "the label goes back";
        EXPECT_EQ(FileNames(personalPath), QStringLiteral("Sales Orders,customers,Budget"));
        if (row.message == 0) {
            EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();
        } else {
            ASSERT_EQ(messages->Messages.size(), 1);
            EXPECT_EQ(messages->Messages[0].Text, LoadResString(row.message, {QStringLiteral("Data View")}));
        }
    }
    // 100 characters are accepted.
    ClickName(form, "Sales Orders");
    Key(form, Qt::Key_F2);
    TypeName(form, QString(100, QLatin1Char('n')));
    EXPECT_EQ(FileNames(personalPath), QString(100, QLatin1Char('n')) + QStringLiteral(",customers,Budget"));
    // Several selected: no renaming.
    ClickName(form, "Budget");
    ClickName(form, "customers", Qt::ControlModifier);
    EXPECT_FALSE(Enabled(form, "mnuEditRename"));
    Key(form, Qt::Key_F2);
    EXPECT_FALSE(RenameEditor(form));
}

TEST_F(ManagerTest, SmartTagCommandsFollowTheTagsStateAndSaveAtOnce)
{
    frmMain form;
    const auto set = personal->SmartTagSets().Item(1);
    const qint32 stopped = set->ItemByName(QStringLiteral("Stopped"))->Id();
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, 1, 1, stopped, {}});
    ASSERT_EQ(ListTexts(form), QStringLiteral("Cities,Stopped"));

    QMenu *menu = RightClickRow(form, RowOf(form, QStringLiteral("Stopped")));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->objectName(), QStringLiteral("mnuSTPopup"));
    EXPECT_TRUE(menu->findChild<QAction *>(QStringLiteral("mnuSTPopupEnable"))->isEnabled());
    EXPECT_FALSE(menu->findChild<QAction *>(QStringLiteral("mnuSTPopupDisable"))->isEnabled());
    EXPECT_FALSE(menu->findChild<QAction *>(QStringLiteral("mnuSTPopupClearWarnings"))->isEnabled());
    Choose(menu, "mnuSTPopupEnable");
    EXPECT_TRUE(ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->Item(stopped)->Enabled);
    EXPECT_FALSE(Enabled(form, "mnuEditEnable"));
    EXPECT_TRUE(Enabled(form, "mnuEditDisable"));
    EXPECT_EQ(Selected(form), QStringLiteral("Stopped"));

    // Clear Warnings only where there are warnings; then no longer.
    menu = RightClickRow(form, RowOf(form, QStringLiteral("Cities")));
    Choose(menu, "mnuSTPopupClearWarnings");
    EXPECT_TRUE(ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"))
                    ->Warnings.isEmpty());
    EXPECT_FALSE(Enabled(form, "mnuEditClearWarnings"));
    Choose(RightClickRow(form, RowOf(form, QStringLiteral("Cities"))), "mnuSTPopupDisable");
    EXPECT_FALSE(ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"))->Enabled);
    EXPECT_EQ(ListView(form)->model()->index(RowOf(form, QStringLiteral("Cities")), 0).data(ImageKeyRole).toString(),
              QStringLiteral("SmartTagStateStop"));

    // Each of them is taken back by Undo, the last first.
    const auto cities = [this] {
        return ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"));
    };
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Disable"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(cities()->Enabled);
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Clear Warnings"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(cities()->Warnings.isEmpty());
    EXPECT_TRUE(Enabled(form, "mnuEditClearWarnings")) << "the window shows the warnings again";
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Enable"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->Item(stopped)->Enabled);
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));

    // New on the smart tags opens the Smart Tag Wizard through the window's DVUser; cancelled, nothing changes.
    messages->Messages.clear();
    QString opened;
    ui::modal_driver::Push([&opened](QDialog &wizard) {
        opened = wizard.objectName();
        wizard.reject();
    });
    ClickToolbar(form, "New");
    EXPECT_EQ(opened, QStringLiteral("frmSmartTagWizard"));
    EXPECT_TRUE(messages->Messages.isEmpty());
    EXPECT_EQ(ListTexts(form), QStringLiteral("Cities,Stopped"));

    // Renaming a smart tag follows the same limits, with "Smart Tag" in the messages.
    messages->Messages.clear();
    ClickName(form, "Cities");
    Key(form, Qt::Key_F2);
    TypeName(form, QStringLiteral("stopped"));
    EXPECT_EQ(Messages(), LoadResString(kMsgNameTaken, {QStringLiteral("Smart Tag")}));
}

TEST_F(ManagerTest, RecognizerTermsFromTheRightClickMenuAndTheEditMenu)
{
    auto cities = personal->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"));
    cities->Recognizer.Included.Add(QStringLiteral("Riga"));
    personal->Save();
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, 1, 1, cities->Id(), {}});

    // The right-click item opens the dialog once its menu has closed; OK writes the terms, saved at once.
    QString caption;
    bool shown = false;
    ui::modal_driver::Push([&](QDialog &dialog) {
        shown = true;
        caption = dialog.windowTitle();
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdExcludedNew"), Qt::LeftButton);
        auto *editor = Child<QTreeWidget>(dialog, "lvExcludedItems")->viewport()->findChild<QLineEdit *>();
        ASSERT_TRUE(editor) << "New starts editing the new term";
        EXPECT_TRUE(editor->text().startsWith(QLatin1String("(New Term ")));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("Rigas"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    });
    Choose(RightClickRow(form, RowOf(form, QStringLiteral("Cities"))), "mnuSTPopupManageSmartTagRecognizerTerms");
    EXPECT_FALSE(shown) << "not while the menu closes";
    QTRY_VERIFY(shown);
    EXPECT_EQ(caption, QStringLiteral("Smart Tag Recognizer Terms - Cities"));
    auto saved = ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->Item(cities->Id());
    EXPECT_EQ(saved->Recognizer.Excluded.Terms(), QStringList({"Rigas"}));
    EXPECT_EQ(saved->Recognizer.Included.Terms(), QStringList({"Riga"}));

    // Cancel from the Edit menu: the terms stay.
    ui::modal_driver::Push([](QDialog &dialog) {
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdIncludedDelete"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
    });
    Child<QAction>(form, "mnuEditManageSmartTagRecognizerTerms")->trigger();
    EXPECT_EQ(ui::modal_driver::Pending(), 0);
    saved = ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->Item(cities->Id());
    EXPECT_EQ(saved->Recognizer.Included.Terms(), QStringList({"Riga"}));
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();

    // The cancelled dialog changed nothing to undo; Undo takes back the OK's terms.
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Recognizer Terms"));
    Child<QAction>(form, "mnuEditUndo")->trigger();
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();
    saved = ManagerTest::Open(personalPath)->SmartTagSets().Item(1)->Item(cities->Id());
    EXPECT_TRUE(saved->Recognizer.Excluded.Terms().isEmpty());
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));
}

TEST_F(ManagerTest, NewPropertiesAndPreviewOpenTheirWindowsThroughDVUser)
{
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    const QByteArray before = ManagerTest::Open(personalPath)->ToXml();

    QStringList opened;
    const auto record = [&opened](QDialog &dialog) {
        opened << dialog.objectName() + QLatin1Char(':') + dialog.windowTitle();
        dialog.reject();
    };
    ui::modal_driver::Push(record);
    ClickToolbar(form, "New");
    ui::modal_driver::Push(record);
    const QPoint orders = RowCenter(form, RowOf(form, QStringLiteral("Orders")));
    QTest::mouseClick(ListView(form)->viewport(), Qt::LeftButton, {}, orders);
    QTest::mouseDClick(ListView(form)->viewport(), Qt::LeftButton, {}, orders);
    ui::modal_driver::Push(record);
    Choose(RightClickRow(form, RowOf(form, QStringLiteral("Orders"))), "mnuPopupPreview");
    ASSERT_EQ(opened.size(), 3) << opened.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(opened[0].startsWith(QLatin1String("frmDataViewWizard:"))) << opened[0].toStdString();
    EXPECT_TRUE(opened[1].startsWith(QLatin1String("frmDataViewWizard:"))) << opened[1].toStdString();
    EXPECT_TRUE(opened[2].startsWith(QLatin1String("frmViewDataItems:Preview"))) << opened[2].toStdString();
    // Cancelled wizards leave the file as it was.
    EXPECT_EQ(ManagerTest::Open(personalPath)->ToXml(), before);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Orders"));
}
