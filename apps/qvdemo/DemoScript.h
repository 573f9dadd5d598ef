#pragma once

#include <QStringList>

namespace qvdemo {

class DemoDataMenu;
class DemoSmartTags;
class DemoWindow;

// Scripted runs of the editor, for tests under a virtual display. They work
// the library's dialogs as a user would, through the controls' names only.
//
//   insert-three-rows OUTPUT [SCREENSHOT]
//     Insert Data on "Sample Customers": ticks the first three rows, picks
//     "Table with Header", writes a picture of the dialog to SCREENSHOT
//     (PNG), presses OK and saves the document as OUTPUT (.odt or .html).
//     Prints the captions ("header<TAB>...") and the ticked rows
//     ("row<TAB>...") as the dialog showed them.
//
//   view-data PREVIEW_ROWS [SCREENSHOT]
//     View Data on "Sample Customers", in full (0) or as a preview of that
//     many rows; prints the window's caption ("caption<TAB>...") and how many
//     rows it shows ("shown<TAB>N"), writes its picture and closes it.
//
//   manager [SCREENSHOT]
//     Opens the Data View Manager from the Data menu; prints its caption
//     ("caption<TAB>..."), the tree's nodes ("node<TAB>...") and the list's
//     items ("item<TAB>..."), writes its picture and closes it.
//
//   config-wizard TEAM_FILE PICTURES
//     Creates the team file TEAM_FILE (its folder must exist) through the
//     Configuration File wizard from the Data menu, named "Demo Team",
//     writing a picture of each step to PICTURES/config-wizard-step-N.png;
//     prints each step shown ("step<TAB>N") and the file the wizard answered
//     ("team<TAB>..."), then runs the manager script with the picture
//     PICTURES/config-wizard-manager.png.
//
//   manager-drag TEAM_FILE PICTURES
//     Makes TEAM_FILE an empty team configuration (when it is not there) and
//     the team file, opens the Data View Manager from the Data menu, drags
//     "Sample Customers" with the mouse from the personal "Data Views" folder
//     onto the team's, and renames the copy there in place (F2) to "Team
//     Customers"; pictures PICTURES/manager-drag-1-selected.png to
//     manager-drag-5-renamed.png; prints "dropped<TAB>...", "renamed<TAB>..."
//     and the team file's data views ("team<TAB>a,b").
//
//   author-road OUTPUT PICTURES MOVED_WORKBOOK
//     See DemoAuthorScript.h.
//
//   wizard-road PICTURES WORKBOOK
//     Data > New Data View: the wizard makes a data view of the workbook's
//     first sheet with all its fields, writing a picture of each page into
//     PICTURES ("wizard-1-welcome.png" to "wizard-8-finish.png"); prints
//     "saved<TAB>name<TAB>fields", then inserts every row of it ("rows<TAB>N").
//
//   smart-tags OUTPUT PICTURES
//     See DemoSmartTagScript.cpp.
//
// Answers the process exit code: 0 done, 2 bad arguments or no such data
// view, 3 not in this build, 4 the dialog did not come or nothing was written,
// 5 the document could not be saved.
int RunScript(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu, DemoSmartTags &smartTags);
// The manager script (DemoManagerScript.cpp).
int ManagerScript(const QStringList &arguments, DemoDataMenu &menu);
// The wizard script (DemoWizardScript.cpp).
int WizardRoad(const QStringList &arguments, DemoDataMenu &menu);
// The configuration file script (DemoConfigScript.cpp).
int ConfigWizardScript(const QStringList &arguments, DemoDataMenu &menu);
// The smart tag script (DemoSmartTagScript.cpp).
int SmartTagScript(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu, DemoSmartTags &smartTags);
// The manager's drag and rename script (DemoManagerDragScript.cpp).
int ManagerDragScript(const QStringList &arguments, DemoDataMenu &menu);

} // namespace qvdemo
