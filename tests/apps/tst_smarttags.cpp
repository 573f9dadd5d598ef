// The editor's smart tags: marks follow the typing paragraph by paragraph,
// and a marked term's actions work on a filtered copy of their data view,
// with the value as the source holds it.
#include "SmartTagCommands.h"
#include "SmartTagHighlighter.h"

#include "qvuser/config/ConfigStore.h"
#include "qvuser/data/SmartTagRecognition.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace qvdemo;
using qv::data::SmartTagTerms;

namespace {

std::shared_ptr<const SmartTagTerms> Terms(QList<SmartTagTerms::Tag> tags)
{
    return std::make_shared<const SmartTagTerms>(std::move(tags));
}

// The marked spans of a paragraph.
QStringList Marked(const QTextBlock &block)
{
    QStringList spans;
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::DotLine)
            spans << block.text().mid(range.start, range.length);
    }
    return spans;
}

} // namespace

TEST(DemoSmartTags, MarksFollowTheTypingParagraph)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("Lunch with Zoë D'Arcy.\nThe Paris office.\nParis Hilton is no term."));
    SmartTagHighlighter marks(&document);
    SmartTagTerms::Tag tag;
    tag.Name = QStringLiteral("People");
    tag.Terms = QStringList{QStringLiteral("Zoë D’Arcy"), QStringLiteral("Paris")};
    tag.Excluded = QStringList{QStringLiteral("Paris Hilton")};
    marks.SetTerms(Terms({tag}));
    const QTextBlock first = document.firstBlock();
    const QTextBlock second = first.next();
    EXPECT_EQ(Marked(first), QStringList{QStringLiteral("Zoë D'Arcy")});
    EXPECT_EQ(Marked(second), QStringList{QStringLiteral("Paris")});
    EXPECT_TRUE(Marked(second.next()).isEmpty()) << "an excluded span";

    // Typing into the term unmarks it, finishing it marks it again; the
    // other paragraphs keep their marks.
    QTextCursor cursor(first);
    cursor.setPosition(first.position() + 14);
    cursor.insertText(QStringLiteral("x"));
    EXPECT_TRUE(Marked(first).isEmpty());
    EXPECT_EQ(Marked(second), QStringList{QStringLiteral("Paris")});
    cursor.deletePreviousChar();
    EXPECT_EQ(Marked(first), QStringList{QStringLiteral("Zoë D'Arcy")});

    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\nzoë d'arcy"));
    EXPECT_EQ(Marked(document.lastBlock()), QStringList{QStringLiteral("zoë d'arcy")});

    marks.SetTerms(nullptr);
    EXPECT_TRUE(Marked(first).isEmpty());
    EXPECT_TRUE(Marked(second).isEmpty());
}

TEST(DemoSmartTags, ActionsRunOnAFilteredCopyOfTheirDataView)
{
    auto store = qv::config::ConfigStore::Create();
    store->CreateNew(QString(), QStringLiteral("Personal"), QString(), QString());
    auto customers = store->DataViewCollection().AddBlank();
    customers->Name = QStringLiteral("Customers");
    customers->Fields.Add(QStringLiteral("Name"));
    auto orders = store->DataViewCollection().AddBlank();
    orders->Name = QStringLiteral("Orders");
    orders->Fields.Add(QStringLiteral("Amount"));
    auto gone = store->DataViewCollection().AddBlank();
    auto smartTag = store->SmartTagSets().Item(1)->AddNew();
    const auto addAction = [&smartTag](const QString &name, qint32 kind, qint32 viewId) {
        auto action = smartTag->AddAction();
        action->Name = name;
        action->ActionKind = kind;
        action->DataViewId = viewId;
        action->LayoutType = 4;
        action->StyleName = QStringLiteral("Quote");
    };
    addAction(QStringLiteral("Insert customer"), 1, customers->Id());
    addAction(QStringLiteral("View orders"), 2, orders->Id());
    addAction(QStringLiteral("Gone"), 1, gone->Id());
    store->DataViewCollection().Remove(gone->Id());

    SmartTagTerms::Tag tag;
    tag.Store = store;
    tag.SmartTagId = smartTag->Id();
    tag.FieldName = QStringLiteral("Name");
    tag.Terms = QStringList{QStringLiteral("Chloé O'Neill")};
    const auto terms = Terms({tag});
    const QString text = QStringLiteral("Call CHLOÉ O’NEILL today");

    EXPECT_TRUE(CommandsAt(*terms, text, 2).isEmpty()) << "no term there";
    const QList<SmartTagCommand> commands = CommandsAt(*terms, text, 18);
    ASSERT_EQ(commands.size(), 2) << "the action whose data view has gone is left out";
    EXPECT_EQ(commands[0].Prompt, QStringLiteral("Insert customer"));
    EXPECT_TRUE(commands[0].Insert);
    EXPECT_EQ(commands[0].Layout, 4);
    EXPECT_EQ(commands[0].Style, QStringLiteral("Quote"));
    EXPECT_EQ(commands[0].Term, QStringLiteral("Chloé O'Neill"));
    EXPECT_EQ(commands[1].Prompt, QStringLiteral("View orders"));
    EXPECT_FALSE(commands[1].Insert);

    const auto filtered = commands[0].DataView->Fields.Item(QStringLiteral("Name"));
    ASSERT_EQ(filtered->Conditions.size(), 1u);
    EXPECT_EQ(filtered->Conditions[0].Value, QStringLiteral("Chloé O'Neill"));
    EXPECT_EQ(filtered->Conditions[0].Operator, QStringLiteral("="));
    EXPECT_EQ(commands[0].FilterId, filtered->Conditions[0].Id) << "Insert Data shows the term in its filter row";
    EXPECT_EQ(commands[1].FilterId, -1);
    EXPECT_TRUE(customers->Fields.Item(QStringLiteral("Name"))->Conditions.empty()) << "the saved data view is untouched";
    EXPECT_EQ(store->DataViewCollection().Count(), 2) << "the copy is in no configuration";
    EXPECT_EQ(commands[0].DataView->Id(), customers->Id()) << "Insert Data remembers the saved data view as used";
    EXPECT_EQ(commands[1].DataView->Id(), orders->Id());
    EXPECT_TRUE(commands[1].DataView->Fields.Item(QStringLiteral("Amount"))->Conditions.empty())
        << "a data view without the field is shown whole";
}
