#pragma once

#include "DemoStyles.h"
#include "RowTable.h"

#include <qvuser/DVUser.h>

#include <QTextCursor>

namespace qvdemo {

// What the user chose in Insert Data: the layout, the style's name and where
// the rows go relative to the cursor's selection.
struct InsertChoice
{
    eFormatType Layout = FormatTypeTableWithHeader;
    QString Style;
    eInsertPosition Position = InsertPositionAfter;
};

// Writes the rows into the cursor's document as the choice says:
// - FormatTypeTable: one table row a row; FormatTypeTableWithHeader: the
//   captions first, as a header row; FormatTypeTableWithRowHeader: turned on
//   its side, one table row a field with its caption in the first cell.
// - FormatTypeSentence: inline, a row's cells joined by ", ", rows by "; ".
// - FormatTypeParagraph: a paragraph a row, its cells joined by ", ".
//   In both, a cell holding "," or ";" is put in quotation marks.
// Table layouts take table styles, the others paragraph styles (see StyleBook).
// Replace removes the selection first; Before writes at its start, After at
// its end; without a selection all three write at the cursor.
// Nothing is written for an empty table (false). The cursor is left after
// the written data, with the normal character format for what is typed next. Throws std::invalid_argument for an unknown layout or
// position, writing nothing.
bool WriteRows(QTextCursor &cursor, const RowTable &rows, const InsertChoice &choice, const StyleBook &styles);

// The layout and position values the settings object carries, checked:
// false for a value outside the enums.
bool ToLayout(qint32 value, eFormatType &layout);
bool ToPosition(qint32 value, eInsertPosition &position);

} // namespace qvdemo
