// The recognizer terms dialog's decisions, without a window: caption and
// sentence, the numbering of new terms, delete and the row selected after
// it, the buttons, sorting, and what OK and Cancel write back.
#include "TermsFixture.h"

#include "config/ConfigStore.h"
#include "smarttags/SmartTagTermsState.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;
using namespace qv::smarttags;
using List = SmartTagTermsState::List;
using Sort = SmartTagTermsState::Sort;

TEST(SmartTagTermsState, CaptionAndTheSentenceAboutTheDataView)
{
    EXPECT_EQ(SmartTagTermsState::Caption(QString()), QStringLiteral("Smart Tag Recognizer Terms"));
    EXPECT_EQ(SmartTagTermsState::Caption(QStringLiteral("Cities")), QStringLiteral("Smart Tag Recognizer Terms - Cities"));

    Tagged tagged;
    const SmartTagTermsRequest request = SmartTagTermsRequest::For(tagged.tag->Recognizer, QStringLiteral("Cities"));
    EXPECT_EQ(request.colIncluded, QStringList({"Riga", "Leeds", "Ghent"}));
    EXPECT_EQ(request.colExcluded, QStringList({"Rigas"}));
    EXPECT_EQ(SmartTagTermsState::DataViewSentence(request),
              QStringLiteral("This Smart Tag uses terms from the CITY field of the SAMPLE CUSTOMERS Data View as "
                             "recognizers."));
    tagged.tag->Recognizer.SetDataView(nullptr);
    EXPECT_EQ(SmartTagTermsState::DataViewSentence(SmartTagTermsRequest::For(tagged.tag->Recognizer, QString())),
              QStringLiteral("This Smart Tag does not use terms from a Data View as recognizers."));
}

TEST(SmartTagTermsState, NewTermsAreNumberedForTheLifeOfTheProcess)
{
    SmartTagTermsState state;
    state.Begin({});
    const int first = SmartTagTermsState::NextTermNumber();
    EXPECT_EQ(state.NewTerm(List::Included), 0);
    EXPECT_EQ(state.NewTerm(List::Excluded), 0);
    EXPECT_EQ(state.NewTerm(List::Included), 1);
    EXPECT_EQ(state.Terms(List::Included),
              QStringList({SmartTagTermsState::NewTermText(first), SmartTagTermsState::NewTermText(first + 2)}));
    EXPECT_EQ(state.Terms(List::Excluded), QStringList({QStringLiteral("(New Term %1)").arg(first + 1)}));
    // A new showing goes on counting.
    state.Begin({});
    state.NewTerm(List::Included);
    EXPECT_EQ(state.Terms(List::Included), QStringList({SmartTagTermsState::NewTermText(first + 3)}));
}

TEST(SmartTagTermsState, DeleteSelectsTheRowThatTookThePlaceOrTheNewLast)
{
    SmartTagTermsRequest request;
    request.colIncluded = {"a", "b", "c", "d", "e"};
    SmartTagTermsState state;
    state.Begin(request);
    EXPECT_EQ(state.DeleteTerms(List::Included, {1}, 1), 1);
    EXPECT_EQ(state.Terms(List::Included), QStringList({"a", "c", "d", "e"}));
    EXPECT_EQ(state.DeleteTerms(List::Included, {3}, 3), 2) << "the last deleted: the new last";
    EXPECT_EQ(state.DeleteTerms(List::Included, {2, 0}, 0), 0) << "several, in any order";
    EXPECT_EQ(state.Terms(List::Included), QStringList({"c"}));
    EXPECT_EQ(state.DeleteTerms(List::Included, {0}, 0), -1) << "none left";
    EXPECT_TRUE(state.Terms(List::Excluded).isEmpty());
}

TEST(SmartTagTermsState, ButtonsBySelection)
{
    using B = SmartTagTermsState::Buttons;
    EXPECT_EQ(SmartTagTermsState::ButtonStates(0, 0), (B{false, false}));
    EXPECT_EQ(SmartTagTermsState::ButtonStates(3, 0), (B{true, true}));
    EXPECT_EQ(SmartTagTermsState::ButtonStates(3, 1), (B{true, true}));
    EXPECT_EQ(SmartTagTermsState::ButtonStates(3, 2), (B{false, true})) << "no rename of two at once";
}

TEST(SmartTagTermsState, HeaderClicksSortAscendingThenFlip)
{
    SmartTagTermsRequest request;
    request.colExcluded = {"riga", "Leeds", "ghent"};
    SmartTagTermsState state;
    state.Begin(request);
    EXPECT_EQ(state.SortOrder(List::Excluded), Sort::None);
    EXPECT_EQ(state.SortList(List::Excluded), Sort::Ascending);
    EXPECT_EQ(state.Terms(List::Excluded), QStringList({"ghent", "Leeds", "riga"}));
    EXPECT_EQ(state.SortList(List::Excluded), Sort::Descending);
    EXPECT_EQ(state.Terms(List::Excluded), QStringList({"riga", "Leeds", "ghent"}));
    EXPECT_EQ(state.SortOrder(List::Included), Sort::None) << "each list its own";
}

TEST(SmartTagTermsState, OkWritesTheListsBackAndCancelNothing)
{
    Tagged tagged;
    config::Recognizer &recognizer = tagged.tag->Recognizer;
    SmartTagTermsState state;
    state.Begin(SmartTagTermsRequest::For(recognizer, QString()));
    state.SetTerm(List::Included, 1, QStringLiteral("  Leeds, UK "));
    state.NewTerm(List::Excluded);
    state.DeleteTerms(List::Included, {0}, 0);

    SmartTagTermsState cancelled = state;
    const SmartTagTermsResult &none = cancelled.Finish(false);
    EXPECT_TRUE(none.bCancelled);
    none.WriteBack(recognizer);
    EXPECT_EQ(recognizer.Included.Terms(), QStringList({"Riga", "Leeds", "Ghent"}));
    EXPECT_EQ(cancelled.Finish(true).bCancelled, true) << "the result is made once";

    const SmartTagTermsResult &ok = state.Finish(true);
    ok.WriteBack(recognizer);
    EXPECT_EQ(recognizer.Included.Terms(), QStringList({"  Leeds, UK ", "Ghent"})) << "as typed";
    EXPECT_EQ(recognizer.Excluded.Count(), 2);
    EXPECT_EQ(recognizer.Excluded.Item(1), QStringLiteral("Rigas"));

    // OK with the lists unchanged: the same terms, in the same order.
    SmartTagTermsState again;
    again.Begin(SmartTagTermsRequest::For(recognizer, QString()));
    const QStringList included = recognizer.Included.Terms(), excluded = recognizer.Excluded.Terms();
    again.Finish(true).WriteBack(recognizer);
    EXPECT_EQ(recognizer.Included.Terms(), included);
    EXPECT_EQ(recognizer.Excluded.Terms(), excluded);
}
