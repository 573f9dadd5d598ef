// The Insert Data and View Data requests as a host makes them: through
// DVUser, on the generated sample sources, with the user's part played by
// real input events.
#include "SelectDriver.h"

#include "qvuser/DVUser.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"
#include "dialogs/frmViewDataItems.h"
#include "viewer/ViewerOutput.h"

#include <QPointer>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

namespace {

// Queues the user's part for the next modal window of type Form; it starts
// once the window's rows are in.
template<typename Form>
void WhenShown(const std::function<void(Form &)> &user)
{
    ui::modal_driver::Push([user](QDialog &dialog) {
        auto *form = qobject_cast<Form *>(&dialog);
        ASSERT_TRUE(form) << "another window came up";
        ASSERT_TRUE(WaitIdle(*form));
        user(*form);
    });
}

std::shared_ptr<Collection> TableStyles()
{
    auto styles = std::make_shared<Collection>();
    styles->Add(Variant(QStringLiteral("Grid Table")));
    styles->Add(Variant(QStringLiteral("Plain Table")));
    return styles;
}

void FilterBy(frmSelectDataItems &f, const char *field, const char *value)
{
    ChooseText(Child<QComboBox>(f, "cboField"), QString::fromUtf8(field));
    TypeInto(Child<QComboBox>(f, "cboParam"), QString::fromUtf8(value));
    Click(f, "cmdApplyFilter");
    ASSERT_TRUE(WaitIdle(f));
}

bool HasConditions(const config::DataView &view)
{
    for (const auto &field : view.Fields)
        if (!field->Conditions.empty())
            return true;
    return false;
}

} // namespace

// The whole road: filter, three ticked rows, a layout and a style, OK; the
// host reads what was chosen, keeps the selection and asks again on the same,
// hidden dialog, which comes up with the same rows ticked.
TEST_F(DialogTest, HostInsertsDataAndAsksAgainWithItsSelection)
{
    DVUser host;
    EXPECT_FALSE(host.InsertDataCancelled());
    EXPECT_EQ(host.InsertDataView(), nullptr);
    auto view = View("Sample Customers");
    const auto given = view;
    QPointer<frmSelectDataItems> first;
    WhenShown<frmSelectDataItems>([&](frmSelectDataItems &f) {
        first = &f;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Insert Data"));
        EXPECT_FALSE(Child(f, "icboDataView")->isVisible());
        FilterBy(f, "City", "Leeds");
        EXPECT_EQ(Viewer(f)->RecordCount(), 23);
        for (int row : {0, 2, 4})
            TickRow(f, row);
        EXPECT_EQ(Status(f), QStringLiteral("3 of 23 records selected"));
        ChooseText(Child<QComboBox>(f, "cboFormatType"), LoadResString(81600));
        ChooseText(Child<QComboBox>(f, "cboFormatStyle"), QStringLiteral("Plain Table"));
        Click(f, "cmdOK");
    });
    auto settings = host.ShowSelectData(view, nullptr, nullptr, TableStyles());
    ASSERT_TRUE(settings);
    EXPECT_EQ(view, given) << "the reference holds the data view shown";
    EXPECT_TRUE(messages->Messages.isEmpty());
    EXPECT_NE(host.DataViewDataServices(), nullptr) << "the dialog fetched through the shared services";
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isVisible());

    EXPECT_FALSE(host.InsertDataCancelled());
    EXPECT_EQ(host.InsertDataView(), view);
    EXPECT_EQ(settings->FormatType, int(FormatTypeTable));
    EXPECT_EQ(settings->StyleName, QStringLiteral("Plain Table"));
    EXPECT_EQ(settings->InsertPosition, int(InsertPositionAfter));
    EXPECT_EQ(settings->FilterValue, QStringLiteral("LEEDS")) << "as the City format shows it";
    auto formatted = host.InsertDataSelectionRS();
    auto raw = host.InsertDataSelectionRawRS();
    ASSERT_TRUE(formatted && raw);
    EXPECT_EQ(Texts(*formatted, QStringLiteral("City")), QStringList(3, QStringLiteral("LEEDS")));
    EXPECT_EQ(Texts(*raw, QStringLiteral("City")), QStringList(3, QStringLiteral("Leeds")));
    const QStringList names = Texts(*raw, QStringLiteral("Name"));
    EXPECT_FALSE(HasConditions(*view)) << "the unsaved filter stayed in the host's data view";

    // The Id column is the key by which the returned selection finds its rows.
    const QString xml = viewer::RecordsetXml(*formatted);
    ASSERT_TRUE(settings->Columns->Item(QStringLiteral("Id")));
    settings->Columns->Item(QStringLiteral("Id"))->Linked = true;
    WhenShown<frmSelectDataItems>([&](frmSelectDataItems &f) {
        EXPECT_EQ(&f, first.data()) << "the hidden dialog is shown again";
        EXPECT_EQ(Viewer(f)->RecordCount(), 23) << "the saved filter is back";
        EXPECT_EQ(Viewer(f)->SelectionCount(), 3);
        EXPECT_EQ(Child<QComboBox>(f, "cboFormatStyle")->currentText(), QStringLiteral("Plain Table"));
        Click(f, "cmdOK");
    });
    ASSERT_TRUE(host.ShowSelectData(view, settings, nullptr, TableStyles(), Personal, -1, false, true, true, true, xml));
    auto again = host.InsertDataSelectionRawRS();
    ASSERT_TRUE(again);
    EXPECT_EQ(Texts(*again, QStringLiteral("Name")), names);
}

// Cancel answers nothing, tells the host so, and takes the filter the user
// applied back out of the host's data view.
TEST_F(DialogTest, HostSeesCancelAndKeepsItsDataViewClean)
{
    DVUser host;
    auto view = View("Sample Customers");
    WhenShown<frmSelectDataItems>([](frmSelectDataItems &f) {
        FilterBy(f, "City", "Leeds");
        EXPECT_EQ(Viewer(f)->RecordCount(), 23);
        Click(f, "cmdCancel");
    });
    EXPECT_EQ(host.ShowSelectData(view), nullptr);
    EXPECT_TRUE(host.InsertDataCancelled());
    EXPECT_EQ(host.InsertDataSelectionRS(), nullptr) << "no rows were chosen";
    EXPECT_FALSE(HasConditions(*view)) << "the cancelled filter stayed in the host's data view";
}

// Without a data view the user picks one even when the host did not ask for
// the picker; CloseForms then drops the dialog and its results.
TEST_F(DialogTest, HostWithoutDataViewGetsThePickerUntilCloseForms)
{
    biz::ConfigFileSettings().SetConfigFilePath(1, SampleConfig());
    DVUser host;
    std::shared_ptr<config::DataView> none;
    QPointer<frmSelectDataItems> dialog;
    WhenShown<frmSelectDataItems>([&](frmSelectDataItems &f) {
        dialog = &f;
        auto *picker = Child<QComboBox>(f, "icboDataView");
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->currentText(), QStringLiteral("Sample Contacts")) << "not the first data view";
        ChooseText(picker, QStringLiteral("Sample Offices"));
        ASSERT_TRUE(WaitIdle(f));
        TickRow(f, 0);
        Click(f, "cmdOK");
    });
    auto settings = host.ShowSelectData(none, nullptr, nullptr, nullptr, Personal, -1, false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->DataViewType, int(Personal));
    ASSERT_TRUE(host.InsertDataView());
    EXPECT_EQ(host.InsertDataView()->Name, QStringLiteral("Sample Offices"));
    ASSERT_TRUE(host.InsertDataSelectionRS());
    EXPECT_EQ(host.InsertDataSelectionRS()->RecordCount(), 1);

    host.CloseForms();
    EXPECT_FALSE(dialog) << "CloseForms left the dialog alive";
    EXPECT_EQ(host.InsertDataView(), nullptr);
    EXPECT_EQ(host.InsertDataSelectionRawRS(), nullptr);
    EXPECT_FALSE(host.InsertDataCancelled());
}

// View Data as a preview and in full; the window lives for its call only.
TEST_F(DialogTest, HostViewsDataInFullAndAsPreview)
{
    DVUser host;
    auto view = View("Sample Customers");
    QPointer<frmViewDataItems> window;
    WhenShown<frmViewDataItems>([&](frmViewDataItems &f) {
        window = &f;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Preview - Sample Customers"));
        EXPECT_EQ(Child<ctlDataViewer>(f, "ctlDataViewer")->RecordCount(), 5);
        QTest::mouseClick(Child(f, "cmdClose"), Qt::LeftButton);
    });
    host.ShowViewData(view, 5);
    EXPECT_FALSE(window) << "the window outlived its call";

    WhenShown<frmViewDataItems>([&](frmViewDataItems &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Viewing Data - Sample Customers"));
        EXPECT_EQ(Child<ctlDataViewer>(f, "ctlDataViewer")->RecordCount(), 250);
        EXPECT_EQ(Status(f), QStringLiteral("250 records displayed"));
        f.close();
    });
    host.ShowViewData(view, 0, -1, QStringLiteral("Viewing Data"));
    EXPECT_FALSE(view->Recordset) << "closing releases the rows";
    EXPECT_TRUE(messages->Messages.isEmpty());
}
