// The Smart Tag Wizard's and the action dialog's decisions, without a window,
// over the sample configuration.
#include "../dialogs/DialogsFixture.h"

#include "common/basDataViewPicker.h"
#include "config/ConfigObjects.h"
#include "smarttags/ActionState.h"
#include "smarttags/SmartTagWizardState.h"

#include <QRegularExpression>

using namespace qv;
using namespace qv::smarttags;
using namespace qv::test;

namespace {

constexpr qint32 kSampleTag = 27;

class SmartTagRules : public DialogTest
{
protected:
    SmartTagWizardState Begin(qint32 id)
    {
        SmartTagWizardState state;
        SmartTagWizardRequest request;
        request.Store = store;
        request.SmartTagId = id;
        state.Begin(request, false);
        state.SetStep(StepActions);
        return state;
    }

    qint32 ViewId(const QString &name) const { return store->DataViewCollection().ItemByName(name)->Id(); }
};

} // namespace

TEST_F(SmartTagRules, AnUnknownIdentifierStartsANewSmartTag)
{
    const auto set = store->SmartTagSets().Item(1);
    const int before = set->Count();
    for (const qint32 id : {0, 999, -3}) {
        const SmartTagWizardState state = Begin(id);
        EXPECT_TRUE(state.IsNew()) << id;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$"))
                        .match(state.Tag()->Key).hasMatch())
            << qPrintable(state.Tag()->Key);
        EXPECT_EQ(state.Result().SmartTagId, state.Tag()->Id());
    }
    EXPECT_EQ(set->Count(), before + 3);
    const SmartTagWizardState existing = Begin(kSampleTag);
    EXPECT_FALSE(existing.IsNew());
    EXPECT_EQ(existing.Tag()->Name, QStringLiteral("Sample Contacts Smart Tag"));
}

TEST_F(SmartTagRules, ButtonsOfEachStep)
{
    const SmartTagWizardState fresh = Begin(0);
    const SmartTagWizardState existing = Begin(kSampleTag);
    const struct
    {
        const SmartTagWizardState *state;
        int step;
        bool back, next, finish;
    } cases[] = {
        {&fresh, StepWelcome, false, true, false},   {&fresh, StepActions, true, true, false},
        {&fresh, StepTerms, true, true, false},      {&fresh, StepFinish, true, false, true},
        {&existing, StepWelcome, false, true, true}, {&existing, StepRecognizer, true, true, true},
        {&existing, StepFinish, true, false, true},
    };
    for (const auto &c : cases) {
        const auto buttons = c.state->ButtonsOf(c.step);
        EXPECT_EQ(buttons.Back, c.back) << c.step;
        EXPECT_EQ(buttons.Next, c.next) << c.step;
        EXPECT_EQ(buttons.Finish, c.finish) << c.step;
    }
}

TEST_F(SmartTagRules, TermsAreSortedAndStoredOnceWhateverTheirCase)
{
    SmartTagWizardState state = Begin(0);
    SmartTagChoices choices;
    choices.Terms = {QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("ALPHA"),
                     QStringLiteral("Beta"), QStringLiteral("gamma")};
    EXPECT_FALSE(state.LeaveStep(StepTerms, choices));
    EXPECT_EQ(state.Tag()->Recognizer.Included.Terms(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
    // Without terms and without a data view nothing is recognized.
    choices.Terms.clear();
    EXPECT_EQ(state.LeaveStep(StepTerms, choices).MessageId, 81419u);
    // A smart tag that recognizes from a data view needs no terms of its own.
    choices.FromDataView = true;
    choices.DataViewName = QStringLiteral("sample customers");
    EXPECT_EQ(state.LeaveStep(StepRecognizer, choices).MessageId, 81418u) << "a data view without a field";
    choices.FieldName = QStringLiteral("Name");
    EXPECT_FALSE(state.LeaveStep(StepRecognizer, choices));
    EXPECT_EQ(state.Tag()->Recognizer.DataViewId, ViewId(QStringLiteral("Sample Customers")));
    EXPECT_EQ(state.Tag()->Recognizer.FieldName, QStringLiteral("Name"));
    EXPECT_FALSE(state.LeaveStep(StepTerms, choices));
    // Unticking forgets the data view.
    choices.FromDataView = false;
    EXPECT_FALSE(state.LeaveStep(StepRecognizer, choices));
    EXPECT_EQ(state.Tag()->Recognizer.DataViewId, 0);
}

TEST_F(SmartTagRules, FinishChecksTheCurrentPageAndThoseAfterIt)
{
    SmartTagWizardState state = Begin(0);
    SmartTagChoices choices;
    choices.Name = QStringLiteral("  Customers Tag ");
    // Nothing changed: Finish closes as cancelled.
    EXPECT_FALSE(state.Finish(choices));
    EXPECT_TRUE(state.Result().Cancelled);
    state.MarkChanged();
    state.MarkNameTyped();
    EXPECT_EQ(state.Finish(choices).MessageId, 81417u) << "no action";
    state.Tag()->AddAction()->DataViewId = ViewId(QStringLiteral("Sample Customers"));
    EXPECT_EQ(state.Finish(choices).MessageId, 81419u) << "no terms";
    choices.Terms = {QStringLiteral("Acme")};
    state.SetStep(StepTerms);
    choices.Name = QStringLiteral("sample CONTACTS smart tag");
    const Refusal taken = state.Finish(choices);
    EXPECT_EQ(taken.MessageId, 80004u);
    EXPECT_EQ(taken.Argument, QStringLiteral("Smart Tag"));
    choices.Name = QStringLiteral("   ");
    EXPECT_EQ(state.Finish(choices).MessageId, 80005u);
    choices.Name = QStringLiteral("  Customers Tag ");
    choices.Description = QStringLiteral("Customers by name");
    choices.Enabled = false;
    EXPECT_FALSE(state.Finish(choices));
    EXPECT_FALSE(state.Result().Cancelled);
    EXPECT_EQ(state.Tag()->Name, QStringLiteral("Customers Tag"));
    EXPECT_EQ(state.Tag()->Description, QStringLiteral("Customers by name"));
    EXPECT_FALSE(state.Tag()->Enabled);
    EXPECT_EQ(state.Tag()->Recognizer.Included.Terms(), QStringList{QStringLiteral("Acme")});
}

TEST_F(SmartTagRules, ProposedNamesAndNewTerms)
{
    SmartTagWizardState state = Begin(0);
    EXPECT_EQ(state.ProposedName(), QString());
    state.Tag()->AddAction()->DataViewId = ViewId(QStringLiteral("Sample Products"));
    EXPECT_EQ(state.ProposedName(), QStringLiteral("Sample Products Smart Tag"));
    state.Tag()->Recognizer.SetDataView(store->DataViewCollection().Item(ViewId(QStringLiteral("Sample Customers"))));
    EXPECT_EQ(state.ProposedName(), QStringLiteral("Sample Customers Smart Tag"));
    const QString first = SmartTagWizardState::NextNewTerm();
    const QString second = SmartTagWizardState::NextNewTerm();
    const QRegularExpression pattern(QStringLiteral("^\\(New Term (\\d+)\\)$"));
    ASSERT_TRUE(pattern.match(first).hasMatch()) << qPrintable(first);
    EXPECT_EQ(pattern.match(second).captured(1).toInt(), pattern.match(first).captured(1).toInt() + 1);
}

TEST_F(SmartTagRules, ActionPromptsStylesAndChecks)
{
    ActionState state;
    const auto tag = store->SmartTagSets().Item(1)->Item(kSampleTag);
    tag->AddAction()->Name = QStringLiteral("Insert Sample Customers");
    ActionRequest request;
    request.Store = store;
    request.SmartTag = tag;
    request.TableStyles = {QStringLiteral("Grid")};
    request.ParagraphStyles = {QStringLiteral("Body"), QString(), QStringLiteral("Quote")};
    state.Begin(request);
    ASSERT_TRUE(state.IsNew());
    ActionChoices choices{true, QStringLiteral("Sample Orders"), LoadResString(81601), LoadResString(81332), {}};
    EXPECT_EQ(state.Prompt(choices), QStringLiteral("Insert Sample Orders"));
    choices.Insert = false;
    EXPECT_EQ(state.Prompt(choices), QStringLiteral("View Sample Orders"));
    choices.DataViewText = QString::fromLatin1(kNewDataView);
    EXPECT_EQ(state.Prompt(choices), QString());
    state.SetPromptTyped(true);
    choices.Prompt = QStringLiteral("Mine");
    EXPECT_EQ(state.Prompt(choices), QStringLiteral("Mine"));

    int select = -1;
    EXPECT_EQ(state.StylesFor(LoadResString(81603), &select),
              (QStringList{LoadResString(81332), QStringLiteral("Body"), QStringLiteral("Quote")}));
    EXPECT_EQ(state.StylesFor(LoadResString(81608), &select), (QStringList{LoadResString(81332), QStringLiteral("Grid")}));
    EXPECT_EQ(select, 0);
    EXPECT_EQ(ActionState::StyleName({false, {}, LoadResString(81600), QStringLiteral("Grid"), {}}), QString());
    EXPECT_EQ(ActionState::StyleName({true, {}, LoadResString(81600), QStringLiteral("Grid"), {}}), QStringLiteral("Grid"));
    EXPECT_EQ(ActionState::LayoutType({true, {}, LoadResString(81602), {}, {}}), 3) << "Sentence";

    // OK: every fault at once, the first control to blame focused.
    const ActionRefusal both = state.Check({true, QString::fromLatin1(kNewDataView), {}, {}, QStringLiteral("  ")});
    EXPECT_EQ(both.Message, LoadResString(80002) + QStringLiteral("\r\n") + LoadResString(80001, {QStringLiteral("Prompt")})
                                + QStringLiteral("\r\n") + LoadResString(80001, {QStringLiteral("Data View")})
                                + QStringLiteral("\r\n"));
    EXPECT_STREQ(both.Control, "txtName");
    const ActionRefusal same = state.Check({true, QStringLiteral("Sample Customers"), {}, {}, QStringLiteral("insert SAMPLE customers")});
    EXPECT_TRUE(same.Message.contains(LoadResString(80008, {QStringLiteral("Smart Tag Action")}))) << qPrintable(same.Message);
    // An edited action keeps its name without that check.
    ActionRequest edit = request;
    edit.ActionName = QStringLiteral("Insert Sample Customers");
    state.Begin(edit);
    EXPECT_FALSE(state.Check({true, QStringLiteral("Sample Customers"), {}, {}, QStringLiteral("Insert Sample Customers")}));
}
