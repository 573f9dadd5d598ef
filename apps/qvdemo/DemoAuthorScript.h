#pragma once

#include <QStringList>

namespace qvdemo {

class DemoDataMenu;
class DemoWindow;

// author-road OUTPUT PICTURES MOVED_WORKBOOK: the road of an author, through
// the Data menu and the dialogs' controls.
// - Insert Data on "Sample Price List", whose workbook has moved: the error
//   offers Locate..., the workbook is picked at MOVED_WORKBOOK, the rows load.
// - "Sample Customers": City "Riga" with Enter in the value box, the filter
//   removed, "Leeds" applied in its place; two rows inserted as a table.
// - Four more Insert Data, one in each other layout.
// Saves the document as OUTPUT, writes pictures into the folder PICTURES
// (insert-data-dialog.png among them) and prints one line a step:
// "located<TAB>rows", "filtered<TAB>rows", "unfiltered<TAB>rows",
// "replaced<TAB>rows", "inserted<TAB>layout<TAB>rows".
int AuthorRoad(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu);

} // namespace qvdemo
