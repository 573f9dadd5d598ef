// The filter page alone in a window over the sample sales database: the
// stored conditions shown, conditions added by button and by Enter, blanks,
// duplicates, refused values, the value list fetched from the source, and
// the questions and warnings of the commit.
#include "PagesFixture.h"

#include "wizard/FilterPage.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace qv;
using namespace qv::wizard;

namespace {

class FilterPageTest : public test::WizardPageTest
{
protected:
    FilterPage *ShowFilters(const char *viewName)
    {
        auto *page = Show<FilterPage>(viewName);
        page->Enter(Direction::Next, true);
        list = test::Child<QTreeWidget>(*page, "lvwFilterField");
        field = test::Child<QComboBox>(*page, "cboFilterField");
        op = test::Child<QComboBox>(*page, "cboFilterOperator");
        value = test::Child<QComboBox>(*page, "cboFilterValue");
        add = test::Child<QPushButton>(*page, "cmdFilterAdd");
        return page;
    }

    void Condition(const char *fieldName, const char *operatorText, const QString &typed)
    {
        ASSERT_NO_FATAL_FAILURE(test::ChooseText(field, QString::fromLatin1(fieldName)));
        ASSERT_NO_FATAL_FAILURE(test::ChooseText(op, QString::fromLatin1(operatorText)));
        test::TypeInto(value, typed);
    }

    QStringList Row(int i) const
    {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList();
    }

    // Opens the value list as a user does (F4) and waits for its values.
    QStringList OpenValueList()
    {
        value->setFocus();
        QTest::keyClick(value, Qt::Key_F4);
        EXPECT_TRUE(WaitFetch());
        QStringList entries;
        for (int i = 0; i < value->count(); ++i)
            entries << value->itemText(i);
        value->hidePopup();
        return entries;
    }

    QTreeWidget *list = nullptr;
    QComboBox *field = nullptr;
    QComboBox *op = nullptr;
    QComboBox *value = nullptr;
    QPushButton *add = nullptr;
};

TEST_F(FilterPageTest, ConditionsAreAddedCheckedAndRemoved)
{
    ShowFilters("Sample Large Orders");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(Row(0), (QStringList{"Amount", "is greater than", "500"}));
    EXPECT_EQ(value->currentText(), QStringLiteral("(blank)"));

    // An empty value is stored empty and shown "(blank)".
    ASSERT_NO_FATAL_FAILURE(Condition("Id", "equals", QString()));
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(Row(1), (QStringList{"Id", "equals", "(blank)"}));
    const auto id = context.View->Fields.Item(QStringLiteral("Id"));
    ASSERT_EQ(id->Conditions.size(), 1u);
    EXPECT_EQ(id->Conditions[0].Value, QString());
    EXPECT_EQ(id->Conditions[0].Operator, QStringLiteral("="));
    EXPECT_TRUE(state.Changed());

    // Refused: a value that is no number, and a blank that cannot be ordered.
    for (const QString &typed : {QStringLiteral("lots"), QStringLiteral("(blank)")}) {
        messages->Messages.clear();
        ASSERT_NO_FATAL_FAILURE(Condition("Amount", "is greater than", typed));
        QTest::mouseClick(add, Qt::LeftButton);
        ASSERT_EQ(messages->Messages.size(), 1);
        EXPECT_EQ(messages->Messages[0].Text, QStringLiteral("This filter is invalid: 'Amount is greater than %1'").arg(typed));
        EXPECT_EQ(messages->Messages[0].Style, 64);
        EXPECT_EQ(messages->Messages[0].Title, WizardTitle());
        EXPECT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(value->currentText(), typed) << "the entry stays";
    }

    // Enter in the value box adds; what is stored is the edit form of the value.
    test::TypeInto(value, QStringLiteral(" 1,250.5 "));
    QTest::keyClick(value->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(Row(2), (QStringList{"Amount", "is greater than", "1250.5"}));

    // A double-click removes, and the row in its place is chosen.
    const QRect first = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    const auto amount = context.View->Fields.Item(QStringLiteral("Amount"));
    ASSERT_EQ(amount->Conditions.size(), 1u);
    EXPECT_EQ(amount->Conditions[0].Value, QStringLiteral("1250.5"));
    QTest::mouseClick(test::Child<QPushButton>(*window, "cmdFilterRemoveAll"), Qt::LeftButton);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(id->Conditions.empty() && amount->Conditions.empty());
}

TEST_F(FilterPageTest, DuplicatesIgnoreCase)
{
    ShowFilters("Sample Customers");
    ASSERT_NO_FATAL_FAILURE(Condition("City", "equals", QStringLiteral("Berlin")));
    QTest::mouseClick(add, Qt::LeftButton);
    test::TypeInto(value, QStringLiteral("BERLIN "));
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, QStringLiteral("This filter has already been added."));
    EXPECT_EQ(messages->Messages[0].Style, 16);
}

TEST_F(FilterPageTest, ValueListsComeFromTheSourceBlankFirst)
{
    ShowFilters("Sample Customers");
    ASSERT_NO_FATAL_FAILURE(test::ChooseText(field, QStringLiteral("City")));
    const QStringList cities = OpenValueList();
    ASSERT_GT(cities.size(), 2);
    EXPECT_EQ(cities.first(), QStringLiteral("(blank)"));
    EXPECT_FALSE(cities.contains(QStringLiteral("Populating...")));
    EXPECT_EQ(cities.mid(1).filter(QStringLiteral("(blank)")).size(), 0) << "Null cities are not listed twice";
    EXPECT_EQ(value->currentText(), QStringLiteral("(blank)")) << "the text before the list stays";

    // A long text column offers only the blank, without asking the source.
    auto products = store->DataViewCollection().AddBlank();
    products->Source = context.View->Source;
    products->DataItemName = QStringLiteral("Products");
    services.LoadFields(products);
    const auto notes = products->Fields.Item(QStringLiteral("Notes"));
    ASSERT_TRUE(notes);
    ASSERT_TRUE(notes->AdoType == 201 || notes->AdoType == 203) << notes->AdoType;
    context.View = products;
    auto *page = window->findChild<FilterPage *>();
    page->Enter(Direction::Next, true);
    ASSERT_NO_FATAL_FAILURE(test::ChooseText(field, QStringLiteral("Notes")));
    EXPECT_EQ(OpenValueList(), QStringList{"(blank)"});
}

TEST_F(FilterPageTest, CommitAsksAfterTheValueBoxWasTouchedAndWarnsOfHiddenFields)
{
    auto *page = ShowFilters("Sample Customers");
    EXPECT_TRUE(page->Commit(Direction::Next));
    EXPECT_TRUE(messages->Messages.isEmpty()) << "untouched: no question";

    test::TypeInto(value, QStringLiteral("x"));
    messages->Answers.enqueue(ui::mb::No);
    EXPECT_FALSE(page->Commit(Direction::Next));
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(81325));
    EXPECT_EQ(messages->Messages[0].Style, 36);
    EXPECT_TRUE(page->Commit(Direction::Next)) << "asked once";
    EXPECT_EQ(messages->Messages.size(), 1);

    context.View->Fields.Item(QStringLiteral("City"))->Displayed = false;
    ASSERT_NO_FATAL_FAILURE(Condition("City", "equals", QStringLiteral("Berlin")));
    QTest::mouseClick(add, Qt::LeftButton);
    messages->Messages.clear();
    EXPECT_TRUE(page->Commit(Direction::Finish));
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(81326, {QStringLiteral("City")}));
    EXPECT_EQ(messages->Messages[0].Style, 48);
    EXPECT_EQ(context.View->Fields.Item(QStringLiteral("City"))->Conditions.size(), 1u) << "the condition stays";
}

} // namespace
