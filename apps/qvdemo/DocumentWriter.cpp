#include "DocumentWriter.h"

#include <QTextTable>

#include <stdexcept>

namespace qvdemo {

namespace {

QString CellText(const QStringList &row, int column)
{
    // A short row leaves its missing cells empty rather than shifting columns.
    return column < row.size() ? row.at(column) : QString();
}

// A cell that holds a separator is quoted, so that a reader can tell where
// "Thursday, 1 May 2014" or "24,900.00" ends.
QString Cell(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char(';')))
        return text;
    return QChar(0x201C) + text + QChar(0x201D);
}

QString JoinedRow(const QStringList &row)
{
    QStringList cells;
    for (const QString &cell : row) {
        if (!cell.isEmpty())
            cells.append(Cell(cell));
    }
    return cells.join(QStringLiteral(", "));
}

void SetCell(QTextTable *table, int row, int column, const QString &text, const QTextCharFormat &format,
             const QColor &background = QColor())
{
    QTextTableCell cell = table->cellAt(row, column);
    if (background.isValid()) {
        QTextCharFormat cellFormat = cell.format();
        cellFormat.setBackground(background);
        cell.setFormat(cellFormat);
    }
    QTextCursor at = cell.firstCursorPosition();
    at.insertText(text, format);
}

QTextTable *InsertTable(QTextCursor &at, int rowCount, int columnCount, const QString &style,
                        const StyleBook &styles, bool headerRow)
{
    QTextTableFormat format = styles.TableFormat(style);
    if (headerRow)
        format.setHeaderRowCount(1);
    return at.insertTable(rowCount, columnCount, format);
}

void WriteTable(QTextCursor &at, const RowTable &rows, const QString &style, const StyleBook &styles, bool header)
{
    const int columns = int(rows.Headers.size());
    const int first = header ? 1 : 0;
    QTextTable *table = InsertTable(at, int(rows.Rows.size()) + first, columns, style, styles, header);
    const QTextCharFormat plain;
    if (header) {
        for (int c = 0; c < columns; ++c)
            SetCell(table, 0, c, rows.Headers.at(c), styles.HeaderCharFormat(style), styles.HeaderBackground(style));
    }
    for (int r = 0; r < rows.Rows.size(); ++r) {
        for (int c = 0; c < columns; ++c)
            SetCell(table, r + first, c, CellText(rows.Rows.at(r), c), plain);
    }
    at = table->lastCursorPosition();
    at.movePosition(QTextCursor::NextBlock);
}

void WriteRowHeaderTable(QTextCursor &at, const RowTable &rows, const QString &style, const StyleBook &styles)
{
    const int fields = int(rows.Headers.size());
    QTextTable *table = InsertTable(at, fields, int(rows.Rows.size()) + 1, style, styles, false);
    const QTextCharFormat plain;
    for (int f = 0; f < fields; ++f) {
        SetCell(table, f, 0, rows.Headers.at(f), styles.HeaderCharFormat(style), styles.HeaderBackground(style));
        for (int r = 0; r < rows.Rows.size(); ++r)
            SetCell(table, f, r + 1, CellText(rows.Rows.at(r), f), plain);
    }
    at = table->lastCursorPosition();
    at.movePosition(QTextCursor::NextBlock);
}

void WriteSentence(QTextCursor &at, const RowTable &rows, const QString &style, const StyleBook &styles)
{
    QStringList parts;
    for (const QStringList &row : rows.Rows)
        parts.append(JoinedRow(row));
    at.insertText(parts.join(QStringLiteral("; ")), styles.CharFormat(style));
}

void WriteParagraphs(QTextCursor &at, const RowTable &rows, const QString &style, const StyleBook &styles)
{
    const QTextBlockFormat block = styles.BlockFormat(style);
    const QTextCharFormat chars = styles.CharFormat(style);
    // The rows become paragraphs of their own: split the text around them.
    if (!at.atBlockStart())
        at.insertBlock();
    for (int r = 0; r < rows.Rows.size(); ++r) {
        if (r > 0)
            at.insertBlock();
        at.setBlockFormat(block);
        at.insertText(JoinedRow(rows.Rows.at(r)), chars);
    }
    if (!at.atBlockEnd()) {
        at.insertBlock();
        at.setBlockFormat(QTextBlockFormat());
    }
}

} // namespace

bool ToLayout(qint32 value, eFormatType &layout)
{
    if (value < FormatTypeTable || value > FormatTypeTableWithRowHeader)
        return false;
    layout = eFormatType(value);
    return true;
}

bool ToPosition(qint32 value, eInsertPosition &position)
{
    if (value < InsertPositionReplace || value > InsertPositionAfter)
        return false;
    position = eInsertPosition(value);
    return true;
}

bool WriteRows(QTextCursor &cursor, const RowTable &rows, const InsertChoice &choice, const StyleBook &styles)
{
    eFormatType layout;
    eInsertPosition position;
    if (!ToLayout(choice.Layout, layout))
        throw std::invalid_argument("unknown layout " + std::to_string(int(choice.Layout)));
    if (!ToPosition(choice.Position, position))
        throw std::invalid_argument("unknown insert position " + std::to_string(int(choice.Position)));
    if (rows.IsEmpty())
        return false;

    QTextCursor at = cursor;
    at.beginEditBlock();
    if (position == InsertPositionReplace)
        at.removeSelectedText();
    else
        at.setPosition(position == InsertPositionBefore ? cursor.selectionStart() : cursor.selectionEnd());

    switch (layout) {
    case FormatTypeTable:
        WriteTable(at, rows, choice.Style, styles, false);
        break;
    case FormatTypeTableWithHeader:
        WriteTable(at, rows, choice.Style, styles, true);
        break;
    case FormatTypeTableWithRowHeader:
        WriteRowHeaderTable(at, rows, choice.Style, styles);
        break;
    case FormatTypeSentence:
        WriteSentence(at, rows, choice.Style, styles);
        break;
    case FormatTypeParagraph:
        WriteParagraphs(at, rows, choice.Style, styles);
        break;
    }
    // What is typed next is in the document's normal style, not the insert's.
    at.setCharFormat(QTextCharFormat());
    at.endEditBlock();
    cursor = at;
    return true;
}

} // namespace qvdemo
