#pragma once

#include "ColumnTypes.h"

#include <QIODevice>

namespace qv::data {

// What a pass over a page does with the tables it meets. Tables are numbered
// from 0 in the order they are named; only those asked for cost their cells.
class HtmlTableVisitor
{
public:
    virtual ~HtmlTableVisitor() = default;
    // A table is named at its first row, once earlier tables have their
    // names; true asks for its rows.
    virtual bool Named(int table, const QString &name) = 0;
    // A row of a table asked for, each place it covers (a spanning cell in
    // each of its places), Empty where no cell is.
    virtual void Row(int table, const QList<Variant> &cells) = 0;
    // A table asked for has no more rows.
    virtual void Ended(int table) = 0;
    // True once nothing more of the page is wanted: the pass stops reading.
    virtual bool Done() const = 0;
};

// Reads an HTML page from `page` a block at a time, never holding more of it
// than a block and the open elements, and gives `visitor` its tables as they
// come: the rows of each <table> (nested ones included) and of no table
// nested in it, a table without rows being markup rather than data.
//
// A table is named by its caption, else its id, else "Table" and its number
// among the tables with rows; a name already taken, in any case, gets " (2)",
// " (3)" and so on. A table's name is decided at its first row, which the
// page reads before anything later: a caption that comes after the first
// row (where HTML has no place for one) names nothing, and a table nested
// before its outer table's first row is named first.
//
// Raises kErrorSourceUnreadable through `sourcePath` where the part read
// nests its elements 256 deep (where a tree of the page would lose its inner
// tables, so such a page is refused however it is read), and where the cells
// of the tables asked for span more places than can be read at once.
void PassOverHtml(const QString &sourcePath, QIODevice &page, HtmlTableVisitor &visitor);

} // namespace qv::data
