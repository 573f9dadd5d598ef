// The Smart Tag Wizard and its action dialog as an author meets them, through
// DVUser, with real clicks and keys.
#include "../wizard/WizardFixture.h"

#include "common/basDataViewPicker.h"
#include "config/ConfigObjects.h"
#include "smarttags/frmAction.h"
#include "smarttags/frmSmartTagWizard.h"

#include <QListWidget>

using namespace qv;
using namespace qv::smarttags;
using namespace qv::test;

namespace {

class SmartTagWizardTest : public WizardTest
{
protected:
    // Runs the wizard through DVUser with the driver, answering its result.
    qint32 Run(const QString &id, const std::function<void(frmSmartTagWizard &)> &driver)
    {
        ui::modal_driver::Push([driver](QDialog &dialog) { driver(static_cast<frmSmartTagWizard &>(dialog)); });
        QObject *host = nullptr;
        return DVUser().InvokeWizardSmartTag(host, store, id);
    }

    static bool OnStep(frmSmartTagWizard &wizard, int step)
    {
        return QTest::qWaitFor([&] { return wizard.State().Step() == step; }, 10000);
    }
};

// Queues the action dialog's driver: the data view, then OK.
void QueueAction(const QString &dataView, bool view = false)
{
    ui::modal_driver::Push([dataView, view](QDialog &dialog) {
        auto &action = static_cast<frmAction &>(dialog);
        ChooseText(Child<QComboBox>(action, "icboDataView"), dataView);
        if (view)
            ClickOption(action, "optActionView");
        Press(action, "cmdOK");
    });
}

void TypeTerm(frmSmartTagWizard &wizard, const QString &text)
{
    Press(wizard, "cmdTermNew");
    auto *terms = Child<QListWidget>(wizard, "lvwTerm");
    auto *editor = terms->viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor) << "the new term is not being edited";
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([terms] { return !terms->viewport()->findChild<QLineEdit *>(); }, 5000));
}

} // namespace

TEST_F(SmartTagWizardTest, ANewSmartTagIsMadeSavedAndReadBack)
{
    const qint32 id = Run(QString(), [](frmSmartTagWizard &wizard) {
        ASSERT_TRUE(OnStep(wizard, StepWelcome));
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Quorivo Data View Smart Tag Wizard - (Untitled)"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(OnStep(wizard, StepActions));
        // Next without an action is refused and the page stays.
        Press(wizard, "cmdNext");
        EXPECT_EQ(wizard.State().Step(), int(StepActions));
        QueueAction(QStringLiteral("Sample Customers"));
        Press(wizard, "cmdActionNew");
        QueueAction(QStringLiteral("Sample Customers"), true);
        Press(wizard, "cmdActionNew");
        auto *actions = Child<QListWidget>(wizard, "lvwAction");
        ASSERT_EQ(actions->count(), 2);
        EXPECT_EQ(actions->item(0)->text(), QStringLiteral("Insert Sample Customers"));
        EXPECT_EQ(actions->item(1)->text(), QStringLiteral("View Sample Customers"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(OnStep(wizard, StepRecognizer));
        // The first action's data view is offered, its fields listed.
        EXPECT_EQ(Child<QComboBox>(wizard, "icboDataView")->currentText(), QStringLiteral("Sample Customers"));
        EXPECT_FALSE(Child<QComboBox>(wizard, "cboRecognizerField")->isEnabled());
        ClickOption(wizard, "chkLookupDataView");
        ChooseText(Child<QComboBox>(wizard, "cboRecognizerField"), QStringLiteral("Name"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(OnStep(wizard, StepTerms));
        TypeTerm(wizard, QStringLiteral("  O'Brien & Co  "));
        TypeTerm(wizard, QStringLiteral("o'brien & CO"));
        TypeTerm(wizard, QStringLiteral("Acme"));
        EXPECT_EQ(Child<QListWidget>(wizard, "lvwTerm")->count(), 3);
        Press(wizard, "cmdNext");
        ASSERT_TRUE(OnStep(wizard, StepFinish));
        EXPECT_EQ(Child<QLineEdit>(wizard, "txtName")->text(), QStringLiteral("Sample Customers Smart Tag"));
        Press(wizard, "cmdFinish");
    });
    ASSERT_GT(id, 0);
    EXPECT_TRUE(messages->Messages.size() == 1 && messages->Messages.first().Text == LoadResString(81417));

    auto reread = config::ConfigStore::Create();
    reread->Open(personalPath);
    const auto tag = reread->SmartTagSets().Item(1)->Item(id);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->Name, QStringLiteral("Sample Customers Smart Tag"));
    const auto customers = reread->DataViewCollection().ItemByName(QStringLiteral("Sample Customers"));
    EXPECT_EQ(tag->Recognizer.DataViewId, customers->Id());
    EXPECT_EQ(tag->Recognizer.FieldName, QStringLiteral("Name"));
    EXPECT_EQ(tag->Recognizer.Included.Terms(), (QStringList{QStringLiteral("Acme"), QStringLiteral("O'Brien & Co")}));
    ASSERT_EQ(tag->Actions.size(), 2u);
    EXPECT_EQ(tag->Actions[0]->ActionKind, kActionInsert);
    EXPECT_EQ(tag->Actions[0]->LayoutType, 2);
    EXPECT_EQ(tag->Actions[0]->DataViewId, customers->Id());
    EXPECT_EQ(tag->Actions[1]->ActionKind, kActionView);
    EXPECT_EQ(tag->Actions[1]->StyleName, QString());
}

TEST_F(SmartTagWizardTest, CancelAsksAfterChangesAndLeavesTheFileAlone)
{
    const QByteArray before = FileBytes();
    messages->Answers << ui::mb::No << ui::mb::Yes;
    const qint32 id = Run(QStringLiteral("27"), [](frmSmartTagWizard &wizard) {
        ASSERT_TRUE(OnStep(wizard, StepWelcome));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(OnStep(wizard, StepActions));
        // Nothing changed yet: the close box closes at once... after a change it asks.
        Press(wizard, "cmdActionDelete");
        Press(wizard, "cmdCancel");
        EXPECT_TRUE(wizard.isVisible()) << "No keeps the wizard open";
        wizard.close();
    });
    EXPECT_EQ(id, 0);
    ASSERT_EQ(messages->Messages.size(), 2);
    EXPECT_EQ(messages->Messages.at(1).Text, LoadResString(81430));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(store->SmartTagSets().Item(1)->Item(27)->Actions.size(), 1u) << "the store is put back";
}

TEST_F(SmartTagWizardTest, TheActionDialogRefusesANewDataViewAndFollowsThePrompt)
{
    frmAction dialog;
    ActionRequest request;
    request.Store = store;
    request.SmartTag = store->SmartTagSets().Item(1)->Item(27);
    request.ParagraphStyles = {QStringLiteral("Body Text")};
    ui::modal_driver::Push([this](QDialog &d) {
        auto *name = Child<QLineEdit>(d, "txtName");
        EXPECT_EQ(Child<QComboBox>(d, "icboDataView")->currentText(), QString::fromLatin1(kNewDataView));
        EXPECT_FALSE(Child<QPushButton>(d, "cmdOK")->isEnabled());
        ChooseText(Child<QComboBox>(d, "icboDataView"), QStringLiteral("Sample Products"));
        EXPECT_EQ(name->text(), QStringLiteral("Insert Sample Products"));
        ClickOption(d, "optActionView");
        EXPECT_EQ(name->text(), QStringLiteral("View Sample Products"));
        EXPECT_FALSE(Child<QComboBox>(d, "cboStyle")->isEnabled());
        // Typed, the prompt no longer follows the choices, until it is emptied.
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral(" now"));
        ClickOption(d, "optActionInsert");
        EXPECT_EQ(name->text(), QStringLiteral("View Sample Products now"));
        ChooseText(Child<QComboBox>(d, "cboLayout"), LoadResString(81603));
        EXPECT_EQ(Child<QComboBox>(d, "cboStyle")->itemText(1), QStringLiteral("Body Text"));
        ChooseText(Child<QComboBox>(d, "icboDataView"), QString::fromLatin1(kNewDataView));
        Press(d, "cmdOK");
        ASSERT_TRUE(d.isVisible());
        ASSERT_EQ(messages->Messages.size(), 1);
        EXPECT_TRUE(messages->Messages.first().Text.contains(LoadResString(80001, {QStringLiteral("Data View")})));
        d.close();
    });
    RunAction(dialog, request);
    EXPECT_TRUE(dialog.Cancelled());
}
