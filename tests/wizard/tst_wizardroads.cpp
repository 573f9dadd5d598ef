// Whole roads through the wizard on real sources: a data view made, saved,
// reopened for editing, and then shown by Insert Data with its fields and
// conditions.
#include "WizardFixture.h"

#include "../services/data/DataTestFiles.h"
#include "automation/ComError.h"
#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"
#include "dialogs/frmSelectDataItems.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "viewer/ctlDataViewer.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeView>

using namespace qv;
using namespace qv::test;
using wizard::Step;

namespace {

// What a road chooses on the field and filter pages.
struct Choices
{
    QStringList fields;        // added in this order
    QString filterField, filterValue;
    QString formatField, format; // one field shown under a format of its own
};

void PickEntry(QWidget &wizard, const char *combo, const QString &text)
{
    auto *box = Child<QComboBox>(wizard, combo);
    ASSERT_TRUE(box);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << combo << ": " << qPrintable(text);
    ChooseEntry(box, index);
}

// Pages 6, 7 and 8 of a new data view: the fields, one "=" condition, the name.
void ChooseFieldsFilterAndName(frmDataViewWizard &wizard, const Choices &choices, const QString &name)
{
    ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
    for (const QString &field : choices.fields) {
        PickEntry(wizard, "cboDisplayField", field);
        Press(wizard, "cmdDisplayAdd");
    }
    if (!choices.format.isEmpty()) {
        // The format cell's chooser, opened by a click on the cell.
        auto *grid = Child<QTreeView>(wizard, "lvwDisplayField");
        const QModelIndex cell = grid->model()->index(int(choices.fields.indexOf(choices.formatField)), 2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        auto *chooser = grid->findChild<QComboBox *>(QStringLiteral("cboFormat"));
        ASSERT_TRUE(chooser) << "a click on the format cell opens the chooser";
        ChooseEntry(chooser, chooser->findText(choices.format));
        EXPECT_EQ(cell.data().toString(), choices.format);
    }
    Press(wizard, "cmdNext");
    ASSERT_TRUE(WaitStep(wizard, Step::Filters));
    PickEntry(wizard, "cboFilterField", choices.filterField);
    auto *value = Child<QComboBox>(wizard, "cboFilterValue");
    value->setFocus();
    value->lineEdit()->selectAll();
    QTest::keyClicks(value, choices.filterValue);
    Press(wizard, "cmdFilterAdd");
    Press(wizard, "cmdNext");
    ASSERT_TRUE(WaitStep(wizard, Step::Finish));
    auto *nameBox = Child<QLineEdit>(wizard, "txtName");
    nameBox->setFocus();
    nameBox->selectAll();
    QTest::keyClicks(nameBox, name);
    Press(wizard, "cmdFinish");
}

class WizardRoadTest : public WizardTest
{
protected:
    // Queues the wizard's driver for a new data view: `source` works pages 1 to 5.
    static void PushNewView(const std::function<void(frmDataViewWizard &)> &source, const Choices &choices,
                            const QString &name)
    {
        ui::modal_driver::Push([=](QDialog &dialog) {
            auto &wizard = static_cast<frmDataViewWizard &>(dialog);
            ASSERT_TRUE(WaitStep(wizard, Step::Welcome));
            Press(wizard, "cmdNext");
            ASSERT_TRUE(WaitStep(wizard, Step::Template));
            Press(wizard, "cmdNext");
            ASSERT_TRUE(WaitStep(wizard, Step::DataSource));
            source(wizard);
            if (!::testing::Test::HasFatalFailure())
                ChooseFieldsFilterAndName(wizard, choices, name);
        });
    }

    qint32 MakeView(const std::function<void(frmDataViewWizard &)> &source, const Choices &choices,
                    const QString &name)
    {
        PushNewView(source, choices, name);
        DVUser user;
        return user.InvokeWizardDataView(store, QString());
    }

    // Opens the saved data view for editing and finishes at once: it opens
    // on its fields, as stored.
    void Reopen(qint32 id, const Choices &choices)
    {
        QStringList shown, formats;
        ui::modal_driver::Push([&shown, &formats](QDialog &dialog) {
            auto &wizard = static_cast<frmDataViewWizard &>(dialog);
            ASSERT_TRUE(WaitStep(wizard, Step::DisplayFields));
            auto *grid = Child<QTreeView>(wizard, "lvwDisplayField");
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                shown << grid->model()->index(row, 1).data().toString();
                formats << grid->model()->index(row, 2).data().toString();
            }
            Press(wizard, "cmdFinish");
        });
        DVUser user;
        EXPECT_EQ(user.InvokeWizardDataView(store, QString::number(id)), id);
        EXPECT_EQ(shown, choices.fields);
        if (!choices.format.isEmpty()) {
            EXPECT_EQ(formats.value(int(choices.fields.indexOf(choices.formatField))), choices.format);
        }
    }

    // Insert Data on the saved data view, read back from the file: the
    // columns are the chosen fields and every row meets the condition.
    int ShowInInsertData(qint32 id, const Choices &choices)
    {
        auto reread = config::ConfigStore::Create();
        reread->Open(personalPath);
        std::shared_ptr<config::DataView> view = reread->DataViewCollection().Item(id);
        EXPECT_TRUE(view);
        if (!view)
            return -1;
        int rows = -1;
        ui::modal_driver::Push([&](QDialog &dialog) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cursor().shape() != Qt::BusyCursor; }, 60000));
            auto *list = dialog.findChild<ctlDataViewer *>(QStringLiteral("ctlDataViewer"))->findChild<QTreeView *>();
            ASSERT_TRUE(list);
            ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() > 0; }, 60000));
            // The first column holds the tick boxes.
            QStringList headers;
            int filterColumn = -1;
            for (int column = 1; column < list->model()->columnCount(); ++column) {
                if (list->isColumnHidden(column))
                    continue;
                headers << list->model()->headerData(column, Qt::Horizontal).toString().trimmed();
                if (headers.last() == choices.filterField)
                    filterColumn = column;
            }
            EXPECT_EQ(headers, choices.fields) << qPrintable(headers.join(u'|'));
            rows = list->model()->rowCount();
            // The formatted column: "Standard" groups thousands and keeps two decimals.
            const int formatColumn = choices.format.isEmpty() ? -1 : int(headers.indexOf(choices.formatField)) + 1;
            const QRegularExpression standard(QStringLiteral("^-?[0-9]{1,3}(,[0-9]{3})*\\.[0-9]{2}$"));
            for (int row = 0; row < rows && filterColumn >= 0; ++row) {
                EXPECT_EQ(list->model()->index(row, filterColumn).data().toString(), choices.filterValue) << row;
                if (formatColumn > 0) {
                    const QString shown = list->model()->index(row, formatColumn).data().toString();
                    EXPECT_TRUE(standard.match(shown).hasMatch()) << qPrintable(shown);
                }
            }
            dialog.reject();
        });
        DVUser user;
        user.ShowSelectData(view);
        return rows;
    }
};

} // namespace

namespace {

const Choices kBusan{{QStringLiteral("Name"), QStringLiteral("City"), QStringLiteral("CreditLimit")},
                     QStringLiteral("City"), QStringLiteral("Busan"), QStringLiteral("CreditLimit"),
                     QStringLiteral("Standard")};

void SampleCustomers(frmDataViewWizard &wizard)
{
    ClickRow(wizard, "lvwDataSource", QStringLiteral("Sample Sales (File)"));
    Press(wizard, "cmdNext");
    ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
    ClickRow(wizard, "lvwDataItem", QStringLiteral("Customers"));
    Press(wizard, "cmdNext");
}

qint64 BusanCustomers()
{
    data::odbc::Connection db(QStringLiteral("Driver=SQLite3;Database=") + SampleFolder()
                              + QStringLiteral("/Sample Sales.sqlite"));
    return db.Count({QStringLiteral("SELECT COUNT(*) FROM Customers WHERE City = 'Busan'"), {}});
}

} // namespace

TEST_F(WizardRoadTest, SqliteCustomersThroughAFileDataSource)
{
    const Choices &choices = kBusan;
    const qint32 id = MakeView(SampleCustomers, choices, QStringLiteral("Busan customers"));
    ASSERT_GT(id, 0);
    auto saved = config::ConfigStore::Create();
    saved->Open(personalPath);
    ASSERT_TRUE(saved->DataViewCollection().ItemByName(QStringLiteral("Busan customers")));
    Reopen(id, choices);
    EXPECT_EQ(ShowInInsertData(id, choices), BusanCustomers());
}

TEST_F(WizardRoadTest, NewDataViewFromTheInsertDataPicker)
{
    // "(New Data View)" and the wizard button: the new data view is then
    // picked and its rows shown.
    biz::ConfigFileSettings().SetConfigFilePath(biz::ConfigFileSettings::Personal, personalPath);
    QString picked;
    int rows = -1;
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto &insert = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(insert));
        auto *picker = Child<QComboBox>(insert, "icboDataView");
        ASSERT_EQ(picker->itemText(0), QStringLiteral("(New Data View)"));
        ChooseEntry(picker, 0);
        ASSERT_TRUE(WaitIdle(insert));
        PushNewView(SampleCustomers, kBusan, QStringLiteral("Busan customers"));
        Press(insert, "cmdLaunchDataViewWizard");
        ASSERT_TRUE(WaitIdle(insert));
        picked = picker->currentText();
        rows = Child<ctlDataViewer>(insert, "ctlDataViewer")->findChild<QTreeView *>()->model()->rowCount();
        dialog.reject();
    });
    DVUser user;
    std::shared_ptr<config::DataView> none;
    user.ShowSelectData(none);
    EXPECT_EQ(picked, QStringLiteral("Busan customers"));
    EXPECT_EQ(rows, BusanCustomers());
}

TEST_F(WizardRoadTest, PostgresTableThroughADataSourceName)
{
    const QString server = data::test::PostgresText();
    if (server.isEmpty())
        GTEST_SKIP() << "no PostgreSQL server: run the tests through ctest";
    // A database of its own: other suites list every table of the server's default one.
    try {
        data::odbc::Connection(server).Execute({QStringLiteral("CREATE DATABASE wizard_roads"), {}});
    } catch (const ComError &) {
        // made by an earlier run
    }
    QString ownText = server;
    ownText.replace(QStringLiteral("Database=postgres"), QStringLiteral("Database=wizard_roads"));
    {
        data::odbc::Connection db(ownText);
        db.Execute({QStringLiteral("DROP TABLE IF EXISTS wizard_people"), {}});
        db.Execute({QStringLiteral("CREATE TABLE wizard_people (id INTEGER PRIMARY KEY, name VARCHAR(40), "
                                   "team VARCHAR(20))"), {}});
        db.Execute({QStringLiteral("INSERT INTO wizard_people VALUES (1, 'Ana', 'north'), (2, 'Ben', 'south'), "
                                   "(3, 'Cy', 'north')"), {}});
    }
    QFile ini(qEnvironmentVariable("ODBCINI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // The PostgreSQL driver's own names for a data source's entries.
    const QString port = server.section(QStringLiteral("Port="), 1).section(u';', 0, 0);
    ini.write("[Wizard People]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=" + port.toUtf8()
              + "\nDatabase=wizard_roads\nUsername=postgres\n");
    ini.close();
    const Choices choices{{QStringLiteral("name"), QStringLiteral("team")}, QStringLiteral("team"),
                          QStringLiteral("north"), {}, {}};
    const qint32 id = MakeView([](frmDataViewWizard &wizard) {
        ClickRow(wizard, "lvwDataSource", QStringLiteral("Wizard People (User)"));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
        ClickRow(wizard, "lvwDataItem", QStringLiteral("wizard_people"));
        Press(wizard, "cmdNext");
    }, choices, QStringLiteral("North team"));
    ASSERT_GT(id, 0);
    Reopen(id, choices);
    EXPECT_EQ(ShowInInsertData(id, choices), 2);
}

TEST_F(WizardRoadTest, SheetOfARealWorkbookTypedAsItsPath)
{
    const QString workbook = QStringLiteral(QV_SHARED_DATA "/excel/27template.xlsx");
    const Choices choices{{QStringLiteral("GIF")}, QStringLiteral("GIF"), QStringLiteral("JPEG"), {}, {}};
    const qint32 id = MakeView([&workbook](frmDataViewWizard &wizard) {
        ClickRow(wizard, "lvwDataSource", LoadResString(81323));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Location));
        EXPECT_FALSE(Child<QPushButton>(wizard, "cmdNext")->isEnabled()) << "no location yet";
        auto *location = Child<QLineEdit>(wizard, "txtLocation");
        location->setFocus();
        QTest::keyClicks(location, workbook);
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::DataItem));
        ClickRow(wizard, "lvwDataItem", QStringLiteral("Ark1"));
        Press(wizard, "cmdNext");
    }, choices, QStringLiteral("Pictures"));
    ASSERT_GT(id, 0);
    Reopen(id, choices);
    EXPECT_GE(ShowInInsertData(id, choices), 1);
}

TEST_F(WizardRoadTest, ContactsFolderChosenInTheFolderChooser)
{
    qputenv("QV_PIM_ROOT", SampleFolder().toLocal8Bit());
    const Choices choices{{QStringLiteral("Full Name"), QStringLiteral("Business City")},
                          QStringLiteral("Business City"), QStringLiteral("Busan"), {}, {}};
    const qint32 id = MakeView([](frmDataViewWizard &wizard) {
        ClickRow(wizard, "lvwDataSource", LoadResString(81324));
        Press(wizard, "cmdNext");
        ASSERT_TRUE(WaitStep(wizard, Step::Location));
        ui::modal_driver::Push([](QDialog &chooser) {
            auto *folders = Child<QTreeWidget>(chooser, "lvwFolders");
            ASSERT_TRUE(folders);
            const auto found = folders->findItems(QStringLiteral("Sample Contacts"), Qt::MatchExactly | Qt::MatchRecursive);
            ASSERT_EQ(found.size(), 1);
            folders->setCurrentItem(found.first());
            Press(chooser, "cmdOK");
        });
        Press(wizard, "cmdBrowseLocation");
        EXPECT_TRUE(Child<QLineEdit>(wizard, "txtLocation")->text().endsWith(QStringLiteral("Sample Contacts")));
        // A folder is its own data item: the field page follows.
        Press(wizard, "cmdNext");
    }, choices, QStringLiteral("Busan contacts"));
    qunsetenv("QV_PIM_ROOT");
    ASSERT_GT(id, 0);
    Reopen(id, choices);
    EXPECT_GE(ShowInInsertData(id, choices), 1);
}
