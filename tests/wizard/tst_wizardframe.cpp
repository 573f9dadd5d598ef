// The wizard's frame as a user meets it: the first page, the data source
// list, cancelling with and without changes, and a source that fails while
// its items are listed.
#include "WizardFixture.h"

#include "config/ConfigObjects.h"
#include "dialogs/frmViewDataItems.h"
#include "registry/Registry.h"

#include <QTreeView>

using namespace qv;
using namespace qv::test;
using wizard::Step;

namespace {

// Runs the wizard through DVUser with the driver, answering its result.
qint32 RunWizard(std::shared_ptr<config::ConfigStore> &store, const QString &id,
                 const std::function<void(frmDataViewWizard &)> &driver)
{
    ui::modal_driver::Push([driver](QDialog &dialog) { driver(static_cast<frmDataViewWizard &>(dialog)); });
    DVUser user;
    return user.InvokeWizardDataView(store, id);
}

} // namespace

TEST_F(WizardTest, FirstPageFollowsSkipWelcome)
{
    // Without the registry value the welcome page comes first; ticking its
    // box is remembered, and the next wizard opens on the template page.
    RunWizard(store, QString(), [](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Quorivo Data View Wizard - (Untitled)"));
        EXPECT_FALSE(Child<QPushButton>(wizard, "cmdBack")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled());
        auto *skip = Child<QCheckBox>(wizard, "chkSkipWelcome");
        skip->setFocus();
        QTest::keyClick(skip, Qt::Key_Space);
        ASSERT_TRUE(skip->isChecked());
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        // Nothing of the user's yet: Cancel closes at once.
        Press(wizard, "cmdCancel");
    });
    EXPECT_TRUE(messages->Messages.isEmpty());
    const Variant skip = Registry().GetValue(Registry::CurrentUser,
                                             QStringLiteral("\\Software\\Harbrane\\Quorivo\\Data Views\\Data View Wizard"),
                                             QStringLiteral("SkipWelcome"), Registry::DWord, Variant(qint32(0)));
    EXPECT_EQ(skip.ToLong(), 1);
    Step first = Step::None;
    RunWizard(store, QStringLiteral("abc"), [&first](frmDataViewWizard &wizard) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !wizard.Busy() && wizard.State().Current() != Step::None; }));
        first = wizard.State().Current();
        Press(wizard, "cmdCancel");
    });
    EXPECT_EQ(first, Step::Template);
}

TEST_F(WizardTest, DataSourceListHasWhatTheMachineHas)
{
    QStringList withoutFolders, withFolders;
    const auto listSources = [&](QStringList &texts) {
        RunWizard(store, QString(), [&texts](frmDataViewWizard &wizard) {
            ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
            Press(wizard, "cmdNext");
            ASSERT_TRUE(WaitStep(wizard, Step::Template));
            Press(wizard, "cmdNext");
            ASSERT_TRUE(WaitStep(wizard, Step::DataSource));
            texts = RowTexts(wizard, "lvwDataSource");
            EXPECT_FALSE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled()) << "a new data view finishes last";
            Press(wizard, "cmdCancel");
        });
    };
    qunsetenv("QV_PIM_ROOT");
    listSources(withoutFolders);
    qputenv("QV_PIM_ROOT", SampleFolder().toLocal8Bit());
    listSources(withFolders);
    qunsetenv("QV_PIM_ROOT");
    ASSERT_GE(withoutFolders.size(), 4);
    EXPECT_EQ(withoutFolders.mid(0, 2), (QStringList{LoadResString(81322), LoadResString(81323)}));
    EXPECT_TRUE(withoutFolders.contains(QStringLiteral("Sample Sales (File)"))) << qPrintable(withoutFolders.join(u'|'));
    EXPECT_TRUE(withoutFolders.contains(QStringLiteral("Sample sales (System)")));
    EXPECT_FALSE(withoutFolders.contains(LoadResString(81324)));
    EXPECT_EQ(withFolders.value(2), LoadResString(81324));
    EXPECT_EQ(withFolders.size(), withoutFolders.size() + 1);
}

TEST_F(WizardTest, CancelAsksOnlyAfterChangesAndLeavesTheFileAsItWas)
{
    const QByteArray before = FileBytes();
    const int views = store->DataViewCollection().Count();
    messages->Answers << ui::mb::No << ui::mb::Yes;
    const qint32 id = RunWizard(store, QString(), [](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataSource));
        ClickRow(wizard, "lvwDataSource", QStringLiteral("Sample sales (System)"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
        EXPECT_EQ(RowTexts(wizard, "lvwDataItem"),
                  (QStringList{QStringLiteral("Customers"), QStringLiteral("Orders"), QStringLiteral("Products")}));
        // No: the wizard stays; Yes: it goes, and the store with it.
        Press(wizard, "cmdCancel");
        ASSERT_TRUE(wizard.isVisible());
        QTest::keyClick(&wizard, Qt::Key_Escape);
    });
    EXPECT_EQ(id, 0);
    ASSERT_EQ(messages->Messages.size(), 2);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(81340));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(store->DataViewCollection().Count(), views);
}

TEST_F(WizardTest, SourceThatFailsWhileListingShowsOneErrorAndTheWizardGoesOn)
{
    // A data view whose database has gone: one error box, then the wizard
    // opens on the data source page with the view's own item alone.
    auto broken = store->DataViewCollection().AddBlank();
    broken->Name = QStringLiteral("Gone");
    broken->Source.Kind = 5;
    broken->Source.ConnectionText = QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=1;Database=x");
    broken->DataItemName = QStringLiteral("people");
    store->Save();
    const QByteArray before = FileBytes();
    RunWizard(store, QString::number(broken->Id()), [](frmDataViewWizard &wizard) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !wizard.Busy() && wizard.State().Current() != Step::None; }));
        EXPECT_EQ(wizard.State().Current(), Step::DataSource);
        EXPECT_TRUE(wizard.State().SourceUnavailable());
        EXPECT_EQ(RowTexts(wizard, "lvwDataItem"), QStringList{QStringLiteral("people")});
        // Still usable: another source lists its items.
        ClickRow(wizard, "lvwDataSource", QStringLiteral("Sample sales (System)"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
        EXPECT_EQ(RowTexts(wizard, "lvwDataItem").size(), 3);
        QTest::keyClick(&wizard, Qt::Key_Escape);
    });
    ASSERT_GE(messages->Messages.size(), 1);
    EXPECT_NE(messages->Messages[0].Text.indexOf(QStringLiteral("127.0.0.1")), -1) << qPrintable(messages->Messages[0].Text);
    EXPECT_EQ(messages->Messages.size(), 2) << "one error box, then the discard question";
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(WizardTest, TemplateSkipsToTheFieldsAndTheCopyGetsAFreeName)
{
    // "Base on an existing Data View" goes straight to the fields; Back
    // returns to the template page; the copy is saved beside its template.
    QList<Step> pages;
    const qint32 id = RunWizard(store, QString(), [&pages](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        QTest::mouseClick(Child<QRadioButton>(wizard, "optTemplateExisting"), Qt::LeftButton, {}, QPoint(5, 5));
        auto *picker = Child<QComboBox>(wizard, "icboDataView");
        ASSERT_TRUE(picker->isEnabled());
        ChooseEntry(picker, picker->findText(QStringLiteral("Sample Customers")));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
        pages << wizard.State().Current();
        Press(wizard, "cmdBack");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        pages << wizard.State().Current();
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Filters));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Finish));
        EXPECT_EQ(Child<QLineEdit>(wizard, "txtName")->text(), QStringLiteral("Sample Customers (1)"));
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Quorivo Data View Wizard - Sample Customers (1)"));
        Press(wizard, "cmdFinish");
    });
    EXPECT_EQ(pages, (QList<Step>{Step::DisplayFields, Step::Template}));
    ASSERT_GT(id, 0);
    auto saved = config::ConfigStore::Create();
    saved->Open(personalPath);
    const auto copy = saved->DataViewCollection().Item(id);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Name, QStringLiteral("Sample Customers (1)"));
    const auto original = saved->DataViewCollection().ItemByName(QStringLiteral("Sample Customers"));
    ASSERT_TRUE(original);
    EXPECT_NE(original->Id(), id);
    EXPECT_EQ(copy->Fields.Count(), original->Fields.Count());
    EXPECT_EQ(copy->Source.ConnectionText, original->Source.ConnectionText);
}

TEST_F(WizardTest, MissingWorkbookIsRefusedOnTheLocationPage)
{
    RunWizard(store, QString(), [](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataSource));
        ClickRow(wizard, "lvwDataSource", LoadResString(81323));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Location));
        auto *location = Child<QLineEdit>(wizard, "txtLocation");
        location->setFocus();
        QTest::keyClicks(location, QStringLiteral("/nowhere/gone.xlsx"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Location));
        EXPECT_TRUE(Child<QPushButton>(wizard, "cmdBrowseLocation")->hasFocus());
        QTest::keyClick(&wizard, Qt::Key_Escape);
    });
    ASSERT_GE(messages->Messages.size(), 1);
    EXPECT_NE(messages->Messages[0].Text.indexOf(QStringLiteral("/nowhere/gone.xlsx")), -1);
    EXPECT_EQ(messages->Messages[0].Title, QStringLiteral("Quorivo Data View Wizard"));
}

TEST_F(WizardTest, AnExistingDataViewOpensOnItsFieldsAndFinishesFromAnyPage)
{
    const auto customers = store->DataViewCollection().ItemByName(QStringLiteral("Sample Customers"));
    ASSERT_TRUE(customers);
    const qint32 id = RunWizard(store, QString::number(customers->Id()), [](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Quorivo Data View Wizard - Sample Customers"));
        EXPECT_TRUE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(wizard, "cmdPreview")->isVisible());
        // Preview shows the data view as the page has it, at most 200 rows.
        int previewed = -1;
        ui::modal_driver::Push([&previewed](QDialog &dialog) {
            auto &view = static_cast<frmViewDataItems &>(dialog);
            ASSERT_TRUE(WaitIdle(view));
            previewed = view.findChild<QTreeView *>()->model()->rowCount();
            dialog.accept();
        });
        Press(wizard, "cmdPreview");
        EXPECT_EQ(previewed, 200);
        Press(wizard, "cmdBack");
        ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
        EXPECT_TRUE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled());
        // Another item must pass through its fields first.
        ClickRow(wizard, "lvwDataItem", QStringLiteral("Orders"));
        EXPECT_FALSE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled());
        ClickRow(wizard, "lvwDataItem", QStringLiteral("Customers"));
        EXPECT_TRUE(Child<QPushButton>(wizard, "cmdFinish")->isEnabled());
        // Finish from here lists the source's items and its fields again first.
        Press(wizard, "cmdFinish");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard.isVisible(); }, 60000));
    });
    EXPECT_EQ(id, customers->Id());
    EXPECT_TRUE(messages->Messages.isEmpty()) << qPrintable(messages->Messages.value(0).Text);
    // Saved, and nothing of the data view changed.
    auto saved = config::ConfigStore::Create();
    saved->Open(personalPath);
    const auto again = saved->DataViewCollection().Item(id);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Fields.Count(), customers->Fields.Count());
    EXPECT_EQ(again->DataItemName, QStringLiteral("Customers"));
    EXPECT_EQ(again->Name, QStringLiteral("Sample Customers"));
}

TEST_F(WizardTest, AnotherAuthorsSaveMeanwhileKeepsBothDataViews)
{
    // The file changes under the wizard: the author takes the other save and
    // the new data view goes into it; nothing of either is lost.
    messages->Answers << ui::mb::Yes;
    const qint32 id = RunWizard(store, QString(), [this](frmDataViewWizard &wizard) {
        ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Template));
        QTest::mouseClick(Child<QRadioButton>(wizard, "optTemplateExisting"), Qt::LeftButton, {}, QPoint(5, 5));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
        auto other = config::ConfigStore::Create();
        other->Open(personalPath);
        other->DataViewCollection().AddBlank()->Name = QStringLiteral("Theirs");
        other->Save();
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Filters));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Finish));
        Press(wizard, "cmdFinish");
    });
    ASSERT_GT(id, 0);
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_NE(messages->Messages[0].Text.indexOf(QStringLiteral("Someone else saved")), -1);
    auto saved = config::ConfigStore::Create();
    saved->Open(personalPath);
    EXPECT_TRUE(saved->DataViewCollection().ItemByName(QStringLiteral("Theirs")));
    const auto ours = saved->DataViewCollection().Item(id);
    ASSERT_TRUE(ours);
    EXPECT_GT(ours->Fields.Count(), 0);
    EXPECT_EQ(store->DataViewCollection().Count(), saved->DataViewCollection().Count());
}
