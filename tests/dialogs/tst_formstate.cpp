// The Insert Data and View Data decisions, without a window.
#include "DialogsFixture.h"
#include "dialogs/SelectDataState.h"
#include "dialogs/ViewDataState.h"

#include "biz/ColumnSettings.h"
#include "biz/Settings.h"
#include "config/ConfigObjects.h"

using namespace qv;
using namespace qv::dialogs;
using qv::test::DialogTest;

namespace {

// A data view of two fields, City carrying a condition of its own.
std::shared_ptr<config::DataView> Customers(const std::shared_ptr<config::ConfigStore> &store)
{
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Customers");
    view->Source.Kind = 5;
    auto name = view->Fields.Add(QStringLiteral("Name"));
    name->Displayed = true;
    auto city = view->Fields.Add(QStringLiteral("City"));
    city->Displayed = true;
    city->AddCondition(QStringLiteral("Leeds"), QStringLiteral("AND"), QStringLiteral("="));
    return view;
}

qsizetype ConditionCount(const config::DataView &view)
{
    qsizetype count = 0;
    for (const auto &field : view.Fields)
        count += qsizetype(field->Conditions.size());
    return count;
}

QString Typed(const QString &value, const config::Field &)
{
    return value;
}

} // namespace

// Which steps a showing goes through, and what each allows: rows awaited
// after Begin, a second fetch never inside the first, changes counted only
// once the rows are in, F5 only when idle, online and unfiltered.
TEST_F(DialogTest, SelectStateFetchRules)
{
    using Fetch = SelectDataState::Fetch;
    struct Case
    {
        const char *name;
        bool offline;
        std::vector<Fetch> steps; // a fetch started; Fetch::None ends the running one
        bool busy, canFetch, changeCounts, refresh;
    };
    const Case cases[] = {
        {"rows awaited", false, {}, true, true, false, false},
        {"first fetch running", false, {Fetch::Rows}, true, false, false, false},
        {"rows in", false, {Fetch::Rows, Fetch::None}, false, true, true, true},
        {"value list running", false, {Fetch::Rows, Fetch::None, Fetch::Values}, true, false, true, false},
        {"offline rows in", true, {Fetch::Rows, Fetch::None}, false, true, true, false},
    };
    for (const Case &c : cases) {
        SelectDataState state;
        SelectDataRequest request;
        request.oDataView = Customers(store);
        request.bOffline = c.offline;
        state.Begin(request);
        for (Fetch step : c.steps) {
            if (step == Fetch::None)
                state.FetchEnded();
            else
                state.FetchStarted(step);
        }
        EXPECT_EQ(state.Busy(), c.busy) << c.name;
        EXPECT_EQ(state.CanFetch(), c.canFetch) << c.name;
        EXPECT_EQ(state.RefreshAllowed(), c.refresh) << c.name;
        state.SetApplyWanted(true);
        EXPECT_EQ(state.ApplyWanted(), !state.Loading()) << c.name << ": Apply while the rows load";
        state.MarkChanged(false);
        EXPECT_EQ(state.Changed(), c.changeCounts) << c.name;
        EXPECT_EQ(state.Controls(5, 0, 3).bSaveSettings, c.changeCounts) << c.name;
    }
}

// A filter the dialog applies is its own: it leaves the data view when the
// dialog closes, the data view's own condition stays, and F5 waits until it
// is removed. A saved filter comes back once per showing, never twice.
TEST_F(DialogTest, SelectStateFilterBookkeeping)
{
    auto view = Customers(store);
    auto name = view->Fields.Item(QStringLiteral("Name"));
    SelectDataState state;
    SelectDataRequest request;
    request.oDataView = view;
    state.Begin(request);
    state.FetchStarted(SelectDataState::Fetch::Rows);
    state.FetchEnded();

    const qint32 id = state.ApplyFilter(*name, 1, QStringLiteral("Ann"), true);
    EXPECT_GT(id, 0);
    EXPECT_EQ(state.ParameterId(), id);
    EXPECT_TRUE(state.FilterApplied());
    EXPECT_FALSE(state.RefreshAllowed()) << "F5 under a filter";
    EXPECT_EQ(ConditionCount(*view), 2);
    state.DiscardUnsavedFilters(true);
    EXPECT_EQ(ConditionCount(*view), 2) << "the filter in force was kept";
    state.DiscardUnsavedFilters(false);
    EXPECT_EQ(ConditionCount(*view), 1) << "the dialog's filter outlived it";
    EXPECT_EQ(view->Fields.Item(QStringLiteral("City"))->Conditions.size(), 1u);

    auto settings = std::make_shared<biz::Settings>();
    settings->FilterSet = true;
    settings->FilterField = QStringLiteral("Name");
    settings->FilterOperator = 1;
    settings->FilterValue = QStringLiteral("Bo");
    request.oSettings = settings;
    for (int showing = 0; showing < 2; ++showing) {
        state.Begin(request);
        const auto shown = state.PrepareFilter(Typed);
        ASSERT_TRUE(shown.oField) << showing;
        EXPECT_EQ(shown.oField, name);
        EXPECT_EQ(shown.sValue, QStringLiteral("Bo"));
        EXPECT_TRUE(state.FilterApplied()) << "a saved filter shows as applied";
        EXPECT_EQ(name->Conditions.size(), 1u) << "showing " << showing << " added the saved filter again";
        state.DiscardUnsavedFilters(false);
        EXPECT_EQ(name->Conditions.size(), 1u) << "the saved filter belongs to the showing";
        state.Finish(true, SelectChoices(), nullptr, nullptr);
        EXPECT_TRUE(name->Conditions.empty()) << "the saved filter outlived showing " << showing;
    }
    state.Begin(request);
    state.PrepareFilter(Typed);
    state.RemoveFilter();
    EXPECT_TRUE(name->Conditions.empty()) << "Remove left the saved filter";
    EXPECT_FALSE(state.FilterApplied());
    EXPECT_EQ(state.ParameterId(), 0);

    // The host's condition shows in the filter row as the filter in force;
    // a new filter replaces it, Remove takes it away, and the showing's end
    // gives it back to the host's data view.
    auto city = view->Fields.Item(QStringLiteral("City"));
    SelectDataRequest host;
    host.oDataView = view;
    const qint32 cityId = city->Conditions.front().Id;
    host.lDisplayParam = cityId;
    state.Begin(host);
    const auto shown = state.PrepareFilter(Typed);
    ASSERT_TRUE(shown.oField);
    EXPECT_EQ(shown.oField, city);
    EXPECT_EQ(shown.sValue, QStringLiteral("Leeds"));
    EXPECT_TRUE(state.FilterApplied());
    state.ApplyFilter(*name, 1, QStringLiteral("Ann"), true);
    EXPECT_TRUE(city->Conditions.empty()) << "the new filter was added to the host's, not put in its place";
    EXPECT_EQ(name->Conditions.size(), 1u);
    state.RemoveFilter();
    EXPECT_EQ(ConditionCount(*view), 0) << "Remove left a filter in force";
    state.Finish(true, SelectChoices(), nullptr, nullptr);
    ASSERT_EQ(city->Conditions.size(), 1u) << "the host's condition was not given back";
    EXPECT_EQ(city->Conditions.front().Id, cityId);
    EXPECT_TRUE(name->Conditions.empty());

    // Taken away, then the data view changes: the condition goes back too.
    state.Begin(host);
    state.PrepareFilter(Typed);
    state.RemoveFilter();
    state.TakeDataView(Customers(store), 1);
    EXPECT_EQ(city->Conditions.size(), 1u);
}

// The settings and the result are built from the choices once, at the end.
TEST_F(DialogTest, SelectStateBuildsTheResult)
{
    const QString noStyle = LoadResString(kNoStyleString);
    struct Case
    {
        const char *name;
        qint32 pickerKind, position;
        int layout; // index into the layout list
        QString style, filterValue;
        bool withFilter;
        qint32 wantType, wantFormat;
        QString wantStyle;
        bool wantFilterSet;
        QString wantFilterValue;
    };
    const Case cases[] = {
        {"team picked, table", 2, 0, 2, QStringLiteral("Grid"), {}, false, 2, 1, QStringLiteral("Grid"), false, {}},
        {"no picker, no style", 0, 1, 0, noStyle, {}, false, 1, 2, {}, false, {}},
        {"filter in force", 0, 2, 3, noStyle, QStringLiteral(" Leeds "), true, 1, 3, {}, true, QStringLiteral("Leeds")},
        {"(blank) is stored empty", 0, 2, 1, noStyle, QStringLiteral("(blank)"), true, 1, 5, {}, true, {}},
        {"(no filter) is none", 0, 2, 1, noStyle, QStringLiteral("(no filter)"), true, 1, 5, {}, false, {}},
        {"a value without a condition", 0, 2, 1, noStyle, QStringLiteral("Leeds"), false, 1, 5, {}, false, {}},
    };
    for (const Case &c : cases) {
        auto view = Customers(store);
        SelectDataState state;
        SelectDataRequest request;
        request.oDataView = view;
        state.Begin(request);
        if (c.withFilter)
            state.ApplyFilter(*view->Fields.Item(QStringLiteral("City")), 1, QStringLiteral("Leeds"), true);
        SelectChoices choices;
        choices.lPickerKind = c.pickerKind;
        choices.sLayoutText = LoadResString(quint32(LayoutStringId(c.layout)));
        choices.sStyleText = c.style;
        choices.lInsertPosition = c.position;
        choices.sFilterField = QStringLiteral("City");
        choices.lFilterOperator = 1;
        choices.sFilterValue = c.filterValue;
        state.Finish(false, choices, nullptr, nullptr);
        const SelectDataResult &result = state.Result();
        ASSERT_TRUE(result.Settings()) << c.name;
        const biz::Settings &s = *result.Settings();
        EXPECT_FALSE(result.Cancelled()) << c.name;
        EXPECT_EQ(result.DataView(), view) << c.name;
        EXPECT_EQ(s.DataViewKey, view->TextKey()) << c.name;
        EXPECT_EQ(s.DataViewType, c.wantType) << c.name;
        EXPECT_EQ(s.FormatType, c.wantFormat) << c.name;
        EXPECT_EQ(s.StyleName, c.wantStyle) << c.name;
        EXPECT_EQ(result.Style(), c.wantStyle) << c.name;
        EXPECT_EQ(s.InsertPosition, c.position) << c.name;
        EXPECT_EQ(s.FilterSet, c.wantFilterSet) << c.name;
        EXPECT_EQ(s.FilterValue, c.wantFilterValue) << c.name;
        EXPECT_EQ(state.FormatType(), c.wantFormat) << c.name << ": the next showing's layout";
    }

    SelectDataState state;
    SelectDataRequest request;
    request.oDataView = Customers(store);
    state.Begin(request);
    state.Finish(true, SelectChoices(), nullptr, nullptr);
    EXPECT_TRUE(state.Result().Cancelled());
    EXPECT_FALSE(state.Result().Settings()) << "Cancel answers no settings";
    EXPECT_EQ(state.Result().DataView(), request.oDataView);
}

// Without a data view the user picks one; the one of the last showing stays.
TEST_F(DialogTest, SelectStateKeepsTheLastDataView)
{
    SelectDataState state;
    SelectDataRequest none;
    none.lDataViewType = 2;
    state.Begin(none);
    EXPECT_TRUE(state.ShowPicker());
    EXPECT_FALSE(state.DataView());
    EXPECT_EQ(state.DataViewType(), 2);

    SelectDataRequest given;
    given.oDataView = Customers(store);
    state.Begin(given);
    EXPECT_FALSE(state.ShowPicker());
    EXPECT_FALSE(state.HostRows());
    state.Begin(none);
    EXPECT_EQ(state.DataView(), given.oDataView);
    EXPECT_EQ(state.DataViewType(), 1);
    EXPECT_TRUE(state.ShowPicker());
}

// View Data: the row limit, the titles, the status and the place it keeps.
TEST_F(DialogTest, ViewStateRules)
{
    ViewDataState state;
    auto view = Customers(store);
    state.Begin({view, 0, QStringLiteral("Viewing Data"), nullptr});
    EXPECT_TRUE(state.LoadPending());
    EXPECT_EQ(state.MaxRows(), ViewDataState::kFullViewRows);
    EXPECT_EQ(state.Title(), QStringLiteral("Viewing Data - Customers"));
    EXPECT_EQ(state.ProgressTitle(), QStringLiteral("Customers Rows"));
    EXPECT_FALSE(state.NativeView());
    state.FetchStarted();
    EXPECT_FALSE(state.CanLoad()) << "F5 during a fetch";
    state.FetchEnded(false);
    EXPECT_TRUE(state.CanLoad());
    EXPECT_EQ(state.Status(40), QString()) << "no rows, no count";

    state.Begin({view, 7, QStringLiteral("Preview"), nullptr});
    EXPECT_EQ(state.MaxRows(), 7);
    view->Name.clear();
    EXPECT_EQ(state.Title(), QStringLiteral("Preview - (Untitled)"));
    view->Source.Kind = 8;
    EXPECT_TRUE(state.NativeView());
    state.Begin({nullptr, 0, QString(), nullptr});
    EXPECT_FALSE(state.CanLoad());
    EXPECT_FALSE(state.Busy());

    // The window's size is stored as the Close button's place.
    const ViewDataState::Geometry window{300, 450, 9000, 7200};
    state.Finish(window);
    EXPECT_EQ(state.Result().oPlacement.lCloseLeft, 9000 - ViewDataState::kCloseMargin);
    EXPECT_EQ(state.Result().oPlacement.lCloseTop, 7200 - ViewDataState::kCloseMargin);
    const ViewDataState::Geometry back = ViewDataState::GeometryOf(state.Result().oPlacement);
    EXPECT_EQ(std::tie(back.lLeft, back.lTop, back.lWidth, back.lHeight), std::tie(window.lLeft, window.lTop, window.lWidth, window.lHeight));
}
