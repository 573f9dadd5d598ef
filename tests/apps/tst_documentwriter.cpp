// The editor's half of Insert Data: chosen rows written into a document in
// each layout, style and position.

#include "DocumentWriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qvdemo;

namespace {

RowTable Customers()
{
    return RowTable{{QStringLiteral("Name"), QStringLiteral("City")},
                    {{QStringLiteral("Ann"), QStringLiteral("Oslo")},
                     {QStringLiteral("Bo"), QStringLiteral("Rome")},
                     {QStringLiteral("Cy"), QString()}}};
}

// "Hello world" with "world" selected, as an author leaves it before Insert Data.
struct Document
{
    QTextDocument doc;
    QTextCursor cursor;

    Document()
    {
        doc.setPlainText(QStringLiteral("Hello world"));
        cursor = QTextCursor(&doc);
        cursor.setPosition(6);
        cursor.setPosition(11, QTextCursor::KeepAnchor);
    }

    bool Write(eFormatType layout, eInsertPosition position, const QString &style = {},
               const RowTable &rows = Customers())
    {
        return WriteRows(cursor, rows, InsertChoice{layout, style, position}, StyleBook::Demo());
    }

    QTextTable *Table() const
    {
        for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
            if (auto *table = qobject_cast<QTextTable *>(frame))
                return table;
        }
        return nullptr;
    }

    QList<QStringList> Cells() const
    {
        QList<QStringList> rows;
        QTextTable *table = Table();
        for (int r = 0; table && r < table->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor at = cell.firstCursorPosition();
                at.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
                row.append(at.selectedText());
            }
            rows.append(row);
        }
        return rows;
    }

    // The paragraphs just before and just after the table.
    QString TextBeforeTable() const { return doc.findBlock(Table()->firstPosition() - 1).text(); }
    QString TextAfterTable() const { return doc.findBlock(Table()->lastPosition() + 1).text(); }
};

using Cells = QList<QStringList>;

struct TableCase
{
    eFormatType layout;
    Cells expected;
};

class TableLayouts : public ::testing::TestWithParam<TableCase>
{
};

} // namespace

TEST_P(TableLayouts, WriteExactlyTheChosenCells)
{
    Document d;
    ASSERT_TRUE(d.Write(GetParam().layout, InsertPositionAfter));
    ASSERT_NE(d.Table(), nullptr);
    EXPECT_EQ(d.Cells(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TableLayouts,
    ::testing::Values(TableCase{FormatTypeTable, Cells{{"Ann", "Oslo"}, {"Bo", "Rome"}, {"Cy", ""}}},
                      TableCase{FormatTypeTableWithHeader,
                                Cells{{"Name", "City"}, {"Ann", "Oslo"}, {"Bo", "Rome"}, {"Cy", ""}}},
                      TableCase{FormatTypeTableWithRowHeader,
                                Cells{{"Name", "Ann", "Bo", "Cy"}, {"City", "Oslo", "Rome", ""}}}));

TEST(DocumentWriter, HeaderRowRepeatsOnlyForTableWithHeader)
{
    Document withHeader;
    withHeader.Write(FormatTypeTableWithHeader, InsertPositionAfter);
    EXPECT_EQ(withHeader.Table()->format().headerRowCount(), 1);
    Document plain;
    plain.Write(FormatTypeTable, InsertPositionAfter);
    EXPECT_EQ(plain.Table()->format().headerRowCount(), 0);
}

TEST(DocumentWriter, TablePositionsAroundTheSelection)
{
    struct Case
    {
        eInsertPosition position;
        const char *before;
        const char *after;
    };
    for (const Case &c : {Case{InsertPositionReplace, "Hello ", ""}, Case{InsertPositionBefore, "Hello ", "world"},
                          Case{InsertPositionAfter, "Hello world", ""}}) {
        Document d;
        ASSERT_TRUE(d.Write(FormatTypeTableWithHeader, c.position));
        SCOPED_TRACE(int(c.position));
        EXPECT_EQ(d.TextBeforeTable(), QString::fromUtf8(c.before));
        EXPECT_EQ(d.TextAfterTable(), QString::fromUtf8(c.after));
        EXPECT_EQ(d.Cells().size(), 4);
    }
}

TEST(DocumentWriter, SentenceAndParagraphTextsInEachPosition)
{
    struct Case
    {
        eFormatType layout;
        eInsertPosition position;
        const char *text;
    };
    const Case cases[] = {
        {FormatTypeSentence, InsertPositionReplace, "Hello Ann, Oslo; Bo, Rome; Cy"},
        {FormatTypeSentence, InsertPositionBefore, "Hello Ann, Oslo; Bo, Rome; Cyworld"},
        {FormatTypeSentence, InsertPositionAfter, "Hello worldAnn, Oslo; Bo, Rome; Cy"},
        {FormatTypeParagraph, InsertPositionReplace, "Hello \nAnn, Oslo\nBo, Rome\nCy"},
        {FormatTypeParagraph, InsertPositionBefore, "Hello \nAnn, Oslo\nBo, Rome\nCy\nworld"},
        {FormatTypeParagraph, InsertPositionAfter, "Hello world\nAnn, Oslo\nBo, Rome\nCy"},
    };
    for (const Case &c : cases) {
        Document d;
        ASSERT_TRUE(d.Write(c.layout, c.position));
        EXPECT_EQ(d.doc.toPlainText(), QString::fromUtf8(c.text)) << int(c.layout) << " " << int(c.position);
    }
}

TEST(DocumentWriter, CursorEndsAfterTheWrittenData)
{
    Document d;
    d.Write(FormatTypeSentence, InsertPositionBefore);
    d.cursor.insertText(QStringLiteral("|"));
    EXPECT_EQ(d.doc.toPlainText(), QStringLiteral("Hello Ann, Oslo; Bo, Rome; Cy|world"));
}

// Typing on after a styled sentence or paragraphs is typing plain text.
TEST(DocumentWriter, TextTypedAfterAStyledInsertIsPlain)
{
    for (const eFormatType layout : {FormatTypeSentence, FormatTypeParagraph}) {
        Document d;
        d.Write(layout, InsertPositionAfter, QStringLiteral("Quote"));
        d.cursor.insertText(QStringLiteral("typed"));
        QTextCursor typed(&d.doc);
        typed.setPosition(d.cursor.position());
        EXPECT_FALSE(typed.charFormat().fontItalic()) << "layout " << int(layout);
    }
}

// Cells that hold a separator are quoted, so the sentence still parses.
TEST(DocumentWriter, CellsWithCommasAreQuoted)
{
    Document d;
    const RowTable rows{{QStringLiteral("Id"), QStringLiteral("Since"), QStringLiteral("Limit")},
                        {{QStringLiteral("7"), QStringLiteral("Thursday, 1 May 2014"), QStringLiteral("24,900.00")},
                         {QStringLiteral("10"), QStringLiteral("Monday"), QStringLiteral("a;b")}}};
    d.Write(FormatTypeSentence, InsertPositionReplace, {}, rows);
    EXPECT_EQ(d.doc.toPlainText(), QStringLiteral("Hello 7, \u201CThursday, 1 May 2014\u201D, \u201C24,900.00\u201D; "
                                                  "10, Monday, \u201Ca;b\u201D"));
}

TEST(DocumentWriter, TableStyleColoursTheHeaderOnly)
{
    Document d;
    d.Write(FormatTypeTableWithHeader, InsertPositionAfter, QStringLiteral("grid blue"));
    QTextTable *table = d.Table();
    EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor(0xbd, 0xd7, 0xee));
    EXPECT_EQ(table->cellAt(1, 0).format().background().style(), Qt::NoBrush);
    EXPECT_EQ(table->format().borderBrush().color(), QColor(0x1f, 0x4e, 0x79));
    EXPECT_EQ(QTextCursor(table->cellAt(0, 1).firstCursorPosition()).charFormat().fontWeight(), QFont::Bold);
    QTextCursor body = table->cellAt(1, 1).firstCursorPosition();
    body.movePosition(QTextCursor::NextCharacter);
    EXPECT_NE(body.charFormat().fontWeight(), QFont::Bold);
}

TEST(DocumentWriter, ParagraphStyleAppliesToTheWrittenParagraphsOnly)
{
    Document d;
    d.Write(FormatTypeParagraph, InsertPositionBefore, QStringLiteral("Quote"));
    QList<QTextBlock> blocks;
    for (QTextBlock b = d.doc.begin(); b.isValid(); b = b.next())
        blocks.append(b);
    ASSERT_EQ(blocks.size(), 5);
    EXPECT_EQ(blocks[0].blockFormat().leftMargin(), 0.0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(blocks[i].blockFormat().leftMargin(), 36.0) << i;
        EXPECT_TRUE(blocks[i].begin().fragment().charFormat().fontItalic()) << i;
    }
    EXPECT_EQ(blocks[4].text(), QStringLiteral("world"));
    EXPECT_EQ(blocks[4].blockFormat().leftMargin(), 0.0);
    EXPECT_FALSE(blocks[4].begin().fragment().charFormat().fontItalic());
}

TEST(DocumentWriter, UnknownStyleWritesPlainlyWithABoldHeader)
{
    Document d;
    ASSERT_TRUE(d.Write(FormatTypeTableWithHeader, InsertPositionAfter, QStringLiteral("Not A Style")));
    EXPECT_EQ(d.Table()->cellAt(0, 0).format().background().style(), Qt::NoBrush);
    EXPECT_EQ(QTextCursor(d.Table()->cellAt(0, 0).firstCursorPosition()).charFormat().fontWeight(), QFont::Bold);
}

TEST(DocumentWriter, ShortRowLeavesItsMissingCellsEmpty)
{
    Document d;
    RowTable rows{{"A", "B", "C"}, {{"1", "2", "3"}, {"4"}}};
    ASSERT_TRUE(d.Write(FormatTypeTableWithHeader, InsertPositionAfter, {}, rows));
    EXPECT_EQ(d.Cells(), (Cells{{"A", "B", "C"}, {"1", "2", "3"}, {"4", "", ""}}));
}

TEST(DocumentWriter, NothingChosenOrBadChoiceLeavesTheDocumentAlone)
{
    Document noRows;
    EXPECT_FALSE(noRows.Write(FormatTypeTable, InsertPositionReplace, {}, RowTable{{"Name"}, {}}));
    EXPECT_EQ(noRows.doc.toPlainText(), QStringLiteral("Hello world"));

    Document badLayout;
    EXPECT_THROW(badLayout.Write(eFormatType(9), InsertPositionReplace), std::invalid_argument);
    Document badPosition;
    EXPECT_THROW(badPosition.Write(FormatTypeTable, eInsertPosition(3)), std::invalid_argument);
    EXPECT_EQ(badLayout.doc.toPlainText(), QStringLiteral("Hello world"));
    EXPECT_EQ(badPosition.doc.toPlainText(), QStringLiteral("Hello world"));
}

TEST(DocumentWriter, SettingsValuesMapOntoTheEnums)
{
    eFormatType layout = FormatTypeTable;
    EXPECT_TRUE(ToLayout(5, layout));
    EXPECT_EQ(layout, FormatTypeTableWithRowHeader);
    EXPECT_FALSE(ToLayout(0, layout));
    EXPECT_FALSE(ToLayout(6, layout));
    eInsertPosition position = InsertPositionAfter;
    EXPECT_TRUE(ToPosition(0, position));
    EXPECT_EQ(position, InsertPositionReplace);
    EXPECT_FALSE(ToPosition(-1, position));
}
