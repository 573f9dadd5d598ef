// The display-field page alone in a window over the sample customers: the
// refresh against the real source, adding, renaming, removing and moving
// rows, the format chooser, and what the page writes into the data view.
#include "PagesFixture.h"

#include "format/DataFormat.h"
#include "wizard/DisplayFieldRules.h"
#include "wizard/DisplayFieldsPage.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include "wizard/DisplayFieldModel.h"

using namespace qv;
using namespace qv::wizard;

namespace {

class DisplayFieldsPageTest : public test::WizardPageTest
{
protected:
    DisplayFieldsPage *ShowCustomers(bool bNew = false)
    {
        auto *page = Show<DisplayFieldsPage>("Sample Customers", bNew);
        grid = test::Child<QTreeView>(*page, "lvwDisplayField");
        fields = test::Child<QComboBox>(*page, "cboDisplayField");
        name = test::Child<QLineEdit>(*page, "txtDisplayName");
        // Every change the page makes to its rows keeps the model sound.
        tester = std::make_unique<QAbstractItemModelTester>(page->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
        return page;
    }

    // Runs the refresh as the frame does and answers what it reported.
    std::optional<bool> Refresh(DisplayFieldsPage *page)
    {
        std::optional<bool> result;
        page->RefreshFields([&result](bool ok) { result = ok; });
        EXPECT_TRUE(QTest::qWaitFor([&result] { return result.has_value(); }, 60000));
        return result;
    }

    QString Cell(int row, int column) const { return grid->model()->index(row, column).data().toString(); }
    QStringList Column(int column) const
    {
        QStringList texts;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            texts << Cell(r, column);
        return texts;
    }
    QPushButton *Button(const char *objectName) { return test::Child<QPushButton>(*window, objectName); }
    void Click(const char *objectName) { QTest::mouseClick(Button(objectName), Qt::LeftButton); }
    int Selected() const
    {
        const auto rows = grid->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    void Rename(int row, const QString &typed)
    {
        test::ClickCell(grid, row, ColName);
        QTest::keyClick(grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_TRUE(editor) << "F2 starts no edit";
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        // The check runs once the editor has gone.
        ASSERT_TRUE(QTest::qWaitFor([this] { return grid->findChildren<QLineEdit *>().isEmpty(); }));
        QTest::qWait(0);
    }

    QTreeView *grid = nullptr;
    QComboBox *fields = nullptr;
    QLineEdit *name = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(DisplayFieldsPageTest, RefreshDropsWhatTheSourceLacksAndReportsIt)
{
    auto *page = ShowCustomers();
    auto &view = *context.View;
    for (int i = 1; i <= 10; ++i)
        view.Fields.Add(QStringLiteral("Gone%1").arg(i))->DisplayName = QStringLiteral("Gone field %1").arg(i);
    view.Fields.Item(QStringLiteral("City"))->AdoType = 3; // the source says text
    view.Fields.Item(QStringLiteral("City"))->DisplayName = QStringLiteral("Town");

    ASSERT_EQ(Refresh(page), true);
    ASSERT_EQ(messages->Messages.size(), 1);
    const auto &report = messages->Messages[0];
    EXPECT_EQ(report.Title, WizardTitle());
    EXPECT_EQ(report.Style, 48);
    QStringList listed{QStringLiteral("Town")};
    for (int i = 1; i <= 9; ++i)
        listed << QStringLiteral("Gone field %1").arg(i);
    EXPECT_EQ(report.Text, LoadResString(81331, {QLatin1Char('\n') + listed.join(QLatin1Char('\n'))
                                                 + QStringLiteral("...\n(displaying first 10 fields)")}));

    ASSERT_EQ(view.Fields.Count(), 5);
    const auto city = view.Fields.Item(QStringLiteral("City"));
    EXPECT_FALSE(city->Displayed) << "a changed type loses the display settings";
    EXPECT_EQ(city->AdoType, 200);
    page->Enter(Direction::Next, false);
    EXPECT_EQ(Column(ColName), (QStringList{"Id", "Name", "CustomerSince", "CreditLimit"}));
    ASSERT_EQ(fields->count(), 1);
    EXPECT_EQ(fields->itemText(0), QStringLiteral("City"));

    // In step with the source: nothing more to say.
    ASSERT_EQ(Refresh(page), true);
    EXPECT_EQ(messages->Messages.size(), 1);
}

TEST_F(DisplayFieldsPageTest, AnUnreadableSourceIsReportedOnce)
{
    auto *page = ShowCustomers();
    context.View->DataItemName = QStringLiteral("NoSuchTable");
    EXPECT_EQ(Refresh(page), true) << "an existing data view keeps its stored fields";
    EXPECT_TRUE(state.SourceUnavailable());
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Title, WizardTitle());
    EXPECT_EQ(Refresh(page), true);
    EXPECT_EQ(messages->Messages.size(), 1) << "the source is not asked again";
    EXPECT_EQ(context.View->Fields.Count(), 5);

    state.Begin(true, false);
    EXPECT_EQ(Refresh(page), false) << "a new data view stays on the page before";
    EXPECT_EQ(messages->Messages.size(), 2);
}

TEST_F(DisplayFieldsPageTest, AddingAndRenamingKeepDisplayNamesUnique)
{
    auto *page = ShowCustomers();
    page->Enter(Direction::Next, true);
    EXPECT_FALSE(Button("cmdDisplayAdd")->isEnabled()) << "every field is displayed";
    Click("cmdDisplayRemoveAll");
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(fields->count(), 5);
    EXPECT_FALSE(Button("cmdDisplayRemove")->isEnabled());

    // An empty display name takes the field's name.
    ASSERT_NO_FATAL_FAILURE(test::ChooseText(fields, QStringLiteral("Name")));
    EXPECT_EQ(name->text(), QStringLiteral("Name"));
    name->clear();
    Click("cmdDisplayAdd");
    EXPECT_EQ(Column(ColDisplayName), QStringList{"Name"});

    // 'name' is taken by 'Name'.
    ASSERT_NO_FATAL_FAILURE(test::ChooseText(fields, QStringLiteral("City")));
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("name"));
    Click("cmdDisplayAdd");
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(80004, {QStringLiteral("Display Field")}));
    EXPECT_EQ(messages->Messages[0].Title, WizardTitle());
    EXPECT_EQ(grid->model()->rowCount(), 1);
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Town"));
    Click("cmdDisplayAdd");
    EXPECT_EQ(Column(ColDisplayName), (QStringList{"Name", "Town"}));
    EXPECT_EQ(Column(ColFormat)[1], QStringLiteral("All Uppercase")) << "the field's own format";
    EXPECT_EQ(Column(ColExample)[1], QStringLiteral("EXAMPLE FORMATTED TEXT"));

    // In place: another row's name refused, the row's own in other case taken.
    ASSERT_NO_FATAL_FAILURE(Rename(1, QStringLiteral("NAME")));
    ASSERT_EQ(messages->Messages.size(), 2);
    EXPECT_EQ(Cell(1, ColDisplayName), QStringLiteral("Town"));
    ASSERT_NO_FATAL_FAILURE(Rename(0, QStringLiteral(" NAME ")));
    EXPECT_EQ(Cell(0, ColDisplayName), QStringLiteral("NAME"));
    ASSERT_NO_FATAL_FAILURE(Rename(1, QString(101, u'x')));
    ASSERT_EQ(messages->Messages.size(), 3);
    EXPECT_EQ(messages->Messages[2].Text, LoadResString(80009, {QStringLiteral("Display Field")}));
    ASSERT_NO_FATAL_FAILURE(Rename(1, QString(100, u'x')));
    EXPECT_EQ(Cell(1, ColDisplayName), QString(100, u'x'));
    EXPECT_EQ(messages->Messages.size(), 3);
    EXPECT_TRUE(state.Changed());
}

TEST_F(DisplayFieldsPageTest, RemovingSelectsTheRowThatTakesItsPlace)
{
    auto *page = ShowCustomers();
    page->Enter(Direction::Next, true);
    test::ClickCell(grid, 4, ColName);
    Click("cmdDisplayRemove");
    EXPECT_EQ(Selected(), 3) << "the new last row";
    EXPECT_FALSE(Button("cmdDisplayMoveDown")->isEnabled());
    EXPECT_EQ(fields->currentText(), QStringLiteral("CreditLimit")) << "back in the field list, chosen";
    test::ClickCell(grid, 1, ColName);
    Click("cmdDisplayRemove");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Column(ColName), (QStringList{"Id", "City", "CustomerSince"}));
    Click("cmdDisplayRemove");
    Click("cmdDisplayRemove");
    EXPECT_EQ(grid->model()->rowCount(), 1);
    Click("cmdDisplayRemove");
    EXPECT_EQ(Selected(), -1);
    for (const char *button : {"cmdDisplayRemove", "cmdDisplayRemoveAll", "cmdDisplayMoveUp", "cmdDisplayMoveDown"})
        EXPECT_FALSE(Button(button)->isEnabled()) << button;
    EXPECT_TRUE(Button("cmdDisplayAddAll")->isEnabled());

    EXPECT_FALSE(page->Commit(Direction::Next));
    ASSERT_EQ(messages->Messages.size(), 1);
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(81333));
    EXPECT_EQ(messages->Messages[0].Style, 16);
}

TEST_F(DisplayFieldsPageTest, FormatsAreChosenInPlaceAndMoveWithTheirRow)
{
    auto *page = ShowCustomers();
    page->Enter(Direction::Next, true);
    test::ClickCell(grid, 0, ColFormat);
    auto *chooser = grid->findChild<QComboBox *>(QStringLiteral("cboFormat"));
    ASSERT_TRUE(chooser) << "a click on a format opens the chooser";
    EXPECT_EQ(chooser->currentText(), QStringLiteral("0"));
    EXPECT_EQ(chooser->itemText(0), QStringLiteral("General Number")) << "the kind's default first";
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Up);
    QTest::keyClick(chooser, Qt::Key_Up);
    EXPECT_EQ(Cell(0, ColFormat), QStringLiteral("Standard")) << "each choice shows at once";
    const QString example = DataFormat().GetDataFormatExample(QStringLiteral("Standard"), 2, true);
    EXPECT_EQ(Cell(0, ColExample), example);
    // A click on the header closes the chooser.
    QTest::mouseClick(grid->header()->viewport(), Qt::LeftButton, {},
                      grid->header()->viewport()->rect().center());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !grid->findChild<QComboBox *>(QStringLiteral("cboFormat")); }));

    test::ClickCell(grid, 0, ColName);
    Click("cmdDisplayMoveDown");
    Click("cmdDisplayMoveDown");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Cell(2, ColName), QStringLiteral("Id"));
    EXPECT_EQ(Cell(2, ColFormat), QStringLiteral("Standard"));
    EXPECT_EQ(Cell(2, ColExample), example);
    Click("cmdDisplayMoveUp");
    EXPECT_EQ(Selected(), 1);

    // Written back: the grid's order, then what is not displayed.
    test::ClickCell(grid, 3, ColName);
    Click("cmdDisplayRemove");
    page->WriteBack();
    QStringList order;
    for (const auto &field : context.View->Fields)
        order << field->Name;
    EXPECT_EQ(order, (QStringList{"Name", "Id", "City", "CreditLimit", "CustomerSince"}));
    const auto id = context.View->Fields.Item(QStringLiteral("Id"));
    EXPECT_EQ(id->ViewFormat, QStringLiteral("Standard"));
    EXPECT_FALSE(context.View->Fields.Item(QStringLiteral("CustomerSince"))->Displayed);

    // A forbidden character stops the writing and is reported.
    ASSERT_NO_FATAL_FAILURE(Rename(0, QStringLiteral("R&D")));
    EXPECT_FALSE(page->Commit(Direction::Next));
    ASSERT_FALSE(messages->Messages.isEmpty());
    EXPECT_EQ(messages->Messages.last().Text, LoadResString(81341));
    EXPECT_EQ(context.View->Fields.Item(QStringLiteral("Name"))->DisplayName, QStringLiteral("Name"));
}

} // namespace
