// The wizard's frame as a user meets it: the first page, the data source
// list, cancelling with and without changes, and a source that fails while
// its items are listed.
#include "WizardFixture.h"

#include "config/ConfigObjects.h"
#include "registry/Registry.h"

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
