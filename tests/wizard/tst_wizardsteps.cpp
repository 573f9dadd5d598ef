// The Data View Wizard's sequence without a window: where each button leads
// for new and existing data views of every source type, what the buttons
// offer, which checks run before a page is left, and the name rules.
#include "wizard/DataViewWizardState.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace qv::wizard;

namespace {

enum class Button { First, Next, Back };

struct Road
{
    const char *what;
    bool bNew;
    SourceType eSource;
    bool bTemplate;     // "Base on an existing Data View"
    Step eFrom;
    Button eButton;
    Step eTo;
};

DataViewWizardState At(bool bNew, SourceType eSource, bool bTemplate, Step eStep, bool bSkipWelcome = false)
{
    DataViewWizardState state;
    state.Begin(bNew, bSkipWelcome);
    state.SetSource(eSource);
    state.SetBasedOnExisting(bTemplate);
    state.MoveTo(eStep);
    return state;
}

} // namespace

TEST(WizardSteps, EveryButtonLeadsWhereTheSkipRulesSay)
{
    constexpr auto Odbc = SourceType::System, Excel = SourceType::Excel, Access = SourceType::Access,
                   Outlook = SourceType::Outlook;
    const Road roads[] = {
        {"a new one opens on the welcome", true, Odbc, false, Step::None, Button::First, Step::Welcome},
        {"an existing one opens on its fields", false, Excel, false, Step::None, Button::First, Step::DisplayFields},
        {"welcome, new", true, Odbc, false, Step::Welcome, Button::Next, Step::Template},
        {"welcome, existing", false, Odbc, false, Step::Welcome, Button::Next, Step::DataSource},
        {"a template skips to the fields", true, Odbc, true, Step::Template, Button::Next, Step::DisplayFields},
        {"a blank start chooses a source", true, Access, false, Step::Template, Button::Next, Step::DataSource},
        {"ODBC has no location", true, Odbc, false, Step::DataSource, Button::Next, Step::DataItem},
        {"a workbook has a location", true, Excel, false, Step::DataSource, Button::Next, Step::Location},
        {"a folder has a location", true, Outlook, false, Step::DataSource, Button::Next, Step::Location},
        {"a folder is its own data item", true, Outlook, false, Step::Location, Button::Next, Step::DisplayFields},
        {"a database lists its items", true, Access, false, Step::Location, Button::Next, Step::DataItem},
        {"items lead to fields", true, Odbc, false, Step::DataItem, Button::Next, Step::DisplayFields},
        {"fields lead to filters", true, Odbc, false, Step::DisplayFields, Button::Next, Step::Filters},
        {"filters lead to the finish", false, Odbc, false, Step::Filters, Button::Next, Step::Finish},
        {"back to the template", true, Excel, true, Step::DisplayFields, Button::Back, Step::Template},
        {"back from fields to the folder", true, Outlook, false, Step::DisplayFields, Button::Back, Step::Location},
        {"back from fields to the items", false, Odbc, false, Step::DisplayFields, Button::Back, Step::DataItem},
        {"back from ODBC items to the source", true, Odbc, false, Step::DataItem, Button::Back, Step::DataSource},
        {"back from file items to the location", true, Excel, false, Step::DataItem, Button::Back, Step::Location},
        {"back from an existing source to the welcome", false, Odbc, false, Step::DataSource, Button::Back,
         Step::Welcome},
        {"back from a new source to the template", true, Odbc, false, Step::DataSource, Button::Back, Step::Template},
        {"back from the location", true, Access, false, Step::Location, Button::Back, Step::DataSource},
        {"back from the filters", true, Access, false, Step::Filters, Button::Back, Step::DisplayFields},
        {"back from the finish", true, Access, false, Step::Finish, Button::Back, Step::Filters},
    };
    for (const Road &road : roads) {
        const DataViewWizardState state = At(road.bNew, road.eSource, road.bTemplate, road.eFrom);
        const Step to = road.eButton == Button::First ? state.FirstStep()
                        : road.eButton == Button::Next ? state.NextStep()
                                                       : state.BackStep();
        EXPECT_EQ(int(to), int(road.eTo)) << road.what;
    }
}

// Whatever the buttons, an ODBC source never shows the location page and a
// folder never shows the data item page.
TEST(WizardSteps, NoRoadShowsAPageItsSourceHasNot)
{
    for (const SourceType source : {SourceType::System, SourceType::Outlook}) {
        for (const bool bNew : {true, false}) {
            QSet<int> seen;
            DataViewWizardState state = At(bNew, source, false, Step::None);
            for (Step step = state.FirstStep(); seen.size() < 9 && !seen.contains(int(step)); step = state.NextStep()) {
                seen.insert(int(step));
                state.MoveTo(step);
            }
            for (Step step = state.Current(); step != Step::Welcome; step = state.BackStep()) {
                seen.insert(int(step));
                state.MoveTo(step);
            }
            const Step never = source == SourceType::System ? Step::Location : Step::DataItem;
            EXPECT_FALSE(seen.contains(int(never))) << SourceTypeText(source).toStdString() << " new " << bNew;
            EXPECT_TRUE(seen.contains(int(Step::Finish)));
        }
    }
}

TEST(WizardSteps, OpeningPageFollowsSkipWelcomeAndAnUnlistedSource)
{
    EXPECT_EQ(int(At(true, SourceType::System, false, Step::None, true).FirstStep()), int(Step::Template));
    DataViewWizardState odbc = At(false, SourceType::System, false, Step::None);
    odbc.SetSourceUnavailable();
    EXPECT_EQ(int(odbc.FirstStep()), int(Step::DataSource));
    DataViewWizardState workbook = At(false, SourceType::Excel, false, Step::None);
    workbook.SetSourceUnavailable();
    EXPECT_EQ(int(workbook.FirstStep()), int(Step::Location));
}

// Finish is off on the middle pages of a new data view and on whenever an
// existing one's source holds; Preview only on the fields and filters.
TEST(WizardSteps, ButtonsOfEachPage)
{
    struct Case
    {
        bool bNew;
        Step eStep;
        bool bLocation, bItems;
        WizardButtons expected; // back, next, finish, cancel, preview
    } const cases[] = {
        {true, Step::Welcome, true, true, {false, true, false, true, false}},
        {true, Step::DataSource, true, true, {true, true, false, true, false}},
        {false, Step::DataSource, true, true, {true, true, true, true, false}},
        {false, Step::Location, false, true, {true, false, false, true, false}},
        {true, Step::Location, true, false, {true, true, false, true, false}},
        {false, Step::DataItem, true, false, {true, false, false, true, false}},
        {false, Step::DisplayFields, false, false, {true, true, true, true, true}},
        {true, Step::Filters, false, false, {true, true, false, true, true}},
        {true, Step::Finish, false, false, {true, false, true, true, false}},
    };
    for (const Case &c : cases) {
        const DataViewWizardState state = At(c.bNew, SourceType::Excel, false, c.eStep);
        EXPECT_EQ(state.Buttons(c.bLocation, c.bItems), c.expected) << "step " << int(c.eStep) << " new " << c.bNew;
    }
}

TEST(WizardSteps, ChecksBeforeLeavingRunInOrder)
{
    using C = LeavingCheck;
    const auto checks = [](Step step, Direction direction) {
        return At(true, SourceType::System, false, step).ChecksBeforeLeaving(direction);
    };
    EXPECT_EQ(checks(Step::DataItem, Direction::Next), QList<C>{C::DataItem});
    EXPECT_TRUE(checks(Step::DataSource, Direction::Next).isEmpty());
    EXPECT_TRUE(checks(Step::DataItem, Direction::Back).isEmpty());
    EXPECT_EQ(checks(Step::Location, Direction::Finish),
              (QList<C>{C::DataItem, C::FieldRefresh, C::DisplayFields, C::Name}));
    EXPECT_EQ(checks(Step::DisplayFields, Direction::Finish), (QList<C>{C::DisplayFields, C::Name}));
    EXPECT_EQ(checks(Step::Filters, Direction::Finish), QList<C>{C::Name});
    EXPECT_TRUE(checks(Step::Finish, Direction::Finish).isEmpty());
}

TEST(WizardSteps, NamesAreTrimmedUniqueAndNeverEmpty)
{
    const QSet<QString> taken{QStringLiteral("Orders"), QStringLiteral("Orders (1)"), QStringLiteral("Stock")};
    const auto isTaken = [&](const QString &name) { return taken.contains(name); };
    EXPECT_EQ(DataViewWizardState::MakeUniqueName(QStringLiteral("Orders"), isTaken), QStringLiteral("Orders (2)"));
    EXPECT_EQ(DataViewWizardState::MakeUniqueName(QStringLiteral("New"), isTaken), QStringLiteral("New"));

    DataViewWizardState state = At(false, SourceType::System, false, Step::Finish);
    EXPECT_EQ(state.CheckName(QStringLiteral("  "), QStringLiteral("Stock"), QStringLiteral("Stock"), isTaken),
              NameProblem::None) << "an untouched name is the base name";
    state.SetNameEdited(true);
    EXPECT_EQ(state.CheckName(QStringLiteral("  Stock "), {}, QStringLiteral("Stock"), isTaken), NameProblem::None)
        << "blanks around its own name";
    EXPECT_EQ(state.CheckName(QStringLiteral("Orders"), {}, QStringLiteral("Stock"), isTaken), NameProblem::Taken);
    EXPECT_EQ(state.CheckName(QStringLiteral("   "), {}, QStringLiteral("Stock"), isTaken), NameProblem::Missing);
    EXPECT_EQ(state.NameToSave(QStringLiteral(" Stock 2 "), QStringLiteral("Stock")), QStringLiteral("Stock 2"));
    EXPECT_EQ(DataViewWizardState::Caption({}), QStringLiteral("Quorivo Data View Wizard - (Untitled)"));
}
