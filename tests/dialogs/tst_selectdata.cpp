#include "SelectDriver.h"

#include "biz/ConfigFileSettings.h"
#include "dialogs/SelectDataRules.h"
#include "viewer/ViewerOutput.h"

#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

// The road of one request: a filter, three ticked rows, a layout and a
// style, OK; the host reads both recordsets and the settings, and a second
// request with the returned selection comes up with the same rows ticked.
TEST_F(DialogTest, InsertDataRoadFromRequestToReselection)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    request.colTableStyles = Styles({QStringLiteral("Grid Table"), QStringLiteral("Plain Table")});
    const int result = RunSelect(form, request, [](frmSelectDataItems &f) {
        EXPECT_FALSE(Child(f, "icboDataView")->isVisible()) << "a given data view needs no picker";
        EXPECT_EQ(Status(f), QStringLiteral("250 records displayed"));
        EXPECT_FALSE(Button(f, "cmdOK")->isEnabled());
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("City"));
        TypeInto(Child<QComboBox>(f, "cboParam"), QStringLiteral("Leeds"));
        Click(f, "cmdApplyFilter");
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Remove &Filter"));
        EXPECT_EQ(Viewer(f)->RecordCount(), 23);
        Click(f, "cmdSelect");
        EXPECT_EQ(Status(f), QStringLiteral("23 of 23 records selected"));
        EXPECT_FALSE(Button(f, "cmdSelect")->isEnabled());
        Click(f, "cmdDeselect");
        EXPECT_EQ(Status(f), QStringLiteral("23 records displayed"));
        EXPECT_FALSE(Button(f, "cmdDeselect")->isEnabled());
        for (int row : {0, 2, 4})
            TickRow(f, row);
        EXPECT_EQ(Status(f), QStringLiteral("3 of 23 records selected"));
        ChooseText(Child<QComboBox>(f, "cboFormatType"), LoadResString(81600));
        ChooseText(Child<QComboBox>(f, "cboFormatStyle"), QStringLiteral("Plain Table"));
        Click(f, "cmdOK");
    });
    ASSERT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(form.Result().Cancelled());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Result().DataView(), request.oDataView);

    auto formatted = form.Result().Selection();
    auto raw = form.Result().RawSelection();
    ASSERT_TRUE(formatted && raw);
    EXPECT_EQ(Texts(*formatted, QStringLiteral("City")), QStringList(3, QStringLiteral("LEEDS")));
    EXPECT_EQ(Texts(*raw, QStringLiteral("City")), QStringList(3, QStringLiteral("Leeds")));
    const QStringList names = Texts(*raw, QStringLiteral("Name"));

    auto settings = form.Result().Settings();
    EXPECT_EQ(settings->DataViewKey, request.oDataView->TextKey());
    EXPECT_EQ(settings->FormatType, 1);
    EXPECT_EQ(settings->StyleName, QStringLiteral("Plain Table"));
    EXPECT_EQ(settings->InsertPosition, 2);
    EXPECT_TRUE(settings->FilterSet);
    EXPECT_EQ(settings->FilterField, QStringLiteral("City"));
    EXPECT_EQ(settings->FilterValue, QStringLiteral("LEEDS")) << "as the City format shows it";
    EXPECT_EQ(dialogs::ReadLastDataView().lId, request.oDataView->Id());
    for (const auto &field : request.oDataView->Fields)
        EXPECT_TRUE(field->Conditions.empty()) << "the unsaved filter left the host's data view";

    // The host keeps the selection and the settings and asks again; the Id
    // column is the key that finds the chosen rows.
    const QString xml = viewer::RecordsetXml(*formatted);
    ASSERT_TRUE(settings->Columns->Item(QStringLiteral("Id")));
    settings->Columns->Item(QStringLiteral("Id"))->Linked = true;
    SelectRequest again;
    again.oDataView = request.oDataView;
    again.oSettings = settings;
    again.sSelectedRowsXML = xml;
    RunSelect(form, again, [&](frmSelectDataItems &f) {
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Remove &Filter")) << "the saved filter is back";
        EXPECT_EQ(Viewer(f)->RecordCount(), 23);
        EXPECT_EQ(Viewer(f)->SelectionCount(), 3);
        EXPECT_EQ(Child<QComboBox>(f, "cboFormatStyle")->currentText(), QStringLiteral("Plain Table"));
        Click(f, "cmdOK");
    });
    auto reselected = form.Result().RawSelection();
    ASSERT_TRUE(reselected);
    EXPECT_EQ(Texts(*reselected, QStringLiteral("Name")), names);
}

// Without a data view the user must pick one; the picker lists both kinds
// in their order and remembers the last choice for the next request.
TEST_F(DialogTest, ForcedPickerLoadsTheChosenDataView)
{
    biz::ConfigFileSettings().SetConfigFilePath(1, SampleConfig());
    frmSelectDataItems form;
    SelectRequest request;
    RunSelect(form, request, [&](frmSelectDataItems &f) {
        auto *picker = Child<QComboBox>(f, "icboDataView");
        EXPECT_TRUE(picker->isVisible());
        ASSERT_EQ(picker->count(), 1 + store->DataViewCollection().Count());
        EXPECT_EQ(picker->itemText(0), QStringLiteral("(New Data View)"));
        EXPECT_EQ(picker->itemText(1), QStringLiteral("Sample Contacts"));
        EXPECT_EQ(picker->currentText(), QStringLiteral("Sample Contacts")) << "the first opens on the first data view";
        EXPECT_GT(Viewer(f)->RecordCount(), 0);
        ChooseText(picker, QStringLiteral("Sample Offices"));
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(Viewer(f)->RecordCount(), 0);
        EXPECT_TRUE(Child(f, "cboField")->isEnabled());
        TickRow(f, 0);
        Click(f, "cmdOK");
    });
    ASSERT_TRUE(form.Result().DataView());
    EXPECT_EQ(form.Result().DataView()->Name, QStringLiteral("Sample Offices"));
    EXPECT_EQ(form.Result().Settings()->DataViewType, 1);

    frmSelectDataItems next;
    SelectRequest second;
    RunSelect(next, second, [](frmSelectDataItems &f) {
        EXPECT_EQ(Child<QComboBox>(f, "icboDataView")->currentText(), QStringLiteral("Sample Offices"));
        EXPECT_GT(Viewer(f)->RecordCount(), 0) << "the last data view is shown at once";
        Click(f, "cmdCancel");
    });
}

// The close box cancels and only hides; the next request without a data
// view keeps the one of the first, and a team file that cannot be read
// leaves the personal entries alone.
TEST_F(DialogTest, CloseBoxCancelsAndTheDialogIsReused)
{
    biz::ConfigFileSettings files;
    files.SetConfigFilePath(1, SampleConfig());
    files.SetConfigFilePath(2, SampleFolder() + QStringLiteral("/missing team.cfg"));
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Products");
    const int result = RunSelect(form, request, [](frmSelectDataItems &f) {
        TickRow(f, 0);
        f.close();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(form.Result().Cancelled());
    EXPECT_EQ(dialogs::ReadLastDataView().lId, 0) << "Cancel does not remember the data view";

    SelectRequest again;
    RunSelect(form, again, [&](frmSelectDataItems &f) {
        auto *picker = Child<QComboBox>(f, "icboDataView");
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->count(), 1 + store->DataViewCollection().Count());
        EXPECT_EQ(picker->currentText(), QStringLiteral("Sample Products"));
        EXPECT_GT(Viewer(f)->RecordCount(), 0);
        Click(f, "cmdCancel");
    });
    EXPECT_EQ(form.Result().DataView(), request.oDataView);
}

// Layout, style and position chosen before the first paint are not changes;
// after it they are, and Save settings stores them for the next showing.
TEST_F(DialogTest, SaveSettingsOnlyAfterTheFirstPaint)
{
    frmSelectDataItems form;
    auto *layout = Child<QComboBox>(form, "cboFormatType");
    auto *save = Button(form, "cmdSaveSettings");
    SelectRequest request;
    request.oDataView = View("Sample Price List");
    form.Prepare(request);
    QTest::keyClick(layout, Qt::Key_Down);
    EXPECT_FALSE(save->isEnabled());

    RunSelect(form, request, [&](frmSelectDataItems &f) {
        EXPECT_FALSE(save->isEnabled()) << "nothing changed since the rows came";
        QHeaderView *header = List(f)->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(2) + header->sectionSize(2) / 2, header->height() / 2});
        QCoreApplication::sendPostedEvents(&f);
        EXPECT_TRUE(save->isEnabled()) << "sorting in the list is a change";
        Click(f, "cmdSaveSettings");
        EXPECT_FALSE(save->isEnabled());
        ChooseText(layout, LoadResString(81603));
        EXPECT_TRUE(save->isEnabled());
        Click(f, "cmdSaveSettings");
        EXPECT_FALSE(save->isEnabled());
        Click(f, "cmdCancel");
    });
    biz::Settings saved;
    ASSERT_TRUE(saved.Load(request.oDataView->TextKey()));
    EXPECT_EQ(saved.FormatType, 4);

    frmSelectDataItems later;
    RunSelect(later, request, [](frmSelectDataItems &f) {
        EXPECT_EQ(Child<QComboBox>(f, "cboFormatType")->currentText(), LoadResString(81603));
        Click(f, "cmdCancel");
    });
}

// A style saved for a table layout that the host no longer offers is
// shown as text; one row comes up ticked with both selection buttons off.
TEST_F(DialogTest, UnlistedStyleAndTheSingleRow)
{
    auto settings = std::make_shared<biz::Settings>();
    settings->FormatType = 2;
    settings->StyleName = QStringLiteral("Retired Table");
    settings->FilterSet = true;
    settings->FilterField = QStringLiteral("Id");
    settings->FilterOperator = 1;
    settings->FilterValue = QStringLiteral("7");
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    request.oSettings = settings;
    request.colTableStyles = Styles({QStringLiteral("Grid Table")});
    RunSelect(form, request, [](frmSelectDataItems &f) {
        EXPECT_EQ(Child<QComboBox>(f, "cboFormatStyle")->currentText(), QStringLiteral("Retired Table"));
        EXPECT_EQ(Viewer(f)->RecordCount(), 1);
        EXPECT_EQ(Viewer(f)->SelectionCount(), 1);
        EXPECT_FALSE(Button(f, "cmdSelect")->isEnabled());
        EXPECT_FALSE(Button(f, "cmdDeselect")->isEnabled());
        EXPECT_TRUE(Button(f, "cmdOK")->isEnabled());
        EXPECT_EQ(Status(f), QStringLiteral("1 of 1 record selected"));
        Click(f, "cmdOK");
    });
    auto rows = form.Result().RawSelection();
    ASSERT_TRUE(rows);
    EXPECT_EQ(Texts(*rows, QStringLiteral("Id")), QStringList{QStringLiteral("7")});
    EXPECT_EQ(form.Result().Style(), QStringLiteral("Retired Table"));
}

// A source that cannot be read is reported in the family's box; the
// dialog stays usable and offers nothing to insert.
TEST_F(DialogTest, UnreadableSourceIsReported)
{
    auto view = View("Sample Customers");
    view->Source.ConnectionText = QStringLiteral("Driver=SQLite3;Database=") + SampleFolder()
                                  + QStringLiteral("/no such folder/gone.sqlite");
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = view;
    RunSelect(form, request, [this](frmSelectDataItems &f) {
        ASSERT_EQ(messages->Messages.size(), 1);
        EXPECT_EQ(messages->Messages[0].Title, QStringLiteral("Quorivo Data Views"));
        EXPECT_EQ(messages->Messages[0].Style, 48);
        EXPECT_EQ(Viewer(f)->RecordCount(), 0);
        EXPECT_FALSE(Button(f, "cmdOK")->isEnabled());
        EXPECT_EQ(Status(f), QString());
        Click(f, "cmdCancel");
    });
    EXPECT_TRUE(form.Result().Cancelled());
}

// A double click on a row is OK.
TEST_F(DialogTest, DoubleClickIsOK)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Offices");
    const int result = RunSelect(form, request, [](frmSelectDataItems &f) {
        QTreeView *list = List(f);
        const QPoint at = list->visualRect(list->model()->index(1, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(form.Result().Cancelled());
    EXPECT_EQ(dialogs::ReadLastDataView().lId, request.oDataView->Id());
}

// Team data views follow the personal ones; one chosen from the team file
// is reported as a team data view, and "(New Data View)" shows nothing.
TEST_F(DialogTest, PickerOverBothStores)
{
    QTemporaryDir team;
    const QString teamFile = team.filePath(QStringLiteral("qvDataView Team.cfg"));
    ASSERT_TRUE(QFile::copy(SampleConfig(), teamFile));
    biz::ConfigFileSettings files;
    files.SetConfigFilePath(1, SampleConfig());
    files.SetConfigFilePath(2, teamFile);
    const int count = store->DataViewCollection().Count();
    frmSelectDataItems form;
    SelectRequest request;
    RunSelect(form, request, [&](frmSelectDataItems &f) {
        auto *picker = Child<QComboBox>(f, "icboDataView");
        ASSERT_EQ(picker->count(), 1 + 2 * count);
        EXPECT_EQ(picker->itemData(1).toString().left(9), QStringLiteral("LOCAL_ID="));
        EXPECT_EQ(picker->itemText(1 + count), QStringLiteral("Sample Contacts"));
        EXPECT_EQ(picker->itemData(1 + count).toString().left(8), QStringLiteral("TEAM_ID="));
        ChooseEntry(picker, 1 + count + 3);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(Viewer(f)->RecordCount(), 0);
        ChooseEntry(picker, 0);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 0);
        EXPECT_FALSE(Child(f, "cboField")->isEnabled());
        EXPECT_FALSE(Button(f, "cmdOK")->isEnabled());
        ChooseEntry(picker, 1 + count + 3);
        ASSERT_TRUE(WaitIdle(f));
        TickRow(f, 0);
        Click(f, "cmdOK");
    });
    EXPECT_EQ(form.Result().Settings()->DataViewType, 2);
    EXPECT_EQ(dialogs::ReadLastDataView().lType, 2);
}
