#pragma once

#include <QString>

#include <span>
#include <utility>

class QWidget;

namespace qv::ui {

// Help lives in a folder of HTML pages named like the help file without its
// extension: "...\1033\qvhelp.chm" is the folder ".../1033/qvhelp/", whose
// index.html is the table of contents, contexts.txt maps a help id to a page
// and popups.txt a help id to its What's-This text. A path text may carry
// "::/popups.txt" after the file name, as the application help file does.
QString HelpFolderOf(const QString &helpFilePath);

// Context 0 shows the table of contents, another number the page that
// contexts.txt names for it. True when a help window was shown; False when
// the page or its table is missing. The help window is one per thread,
// reused, and not modal.
bool ShowHelp(QWidget *owner, const QString &helpFilePath, int context);
// The help window, when one has been shown (for tests and for closing it).
QWidget *HelpWindow();

// The help file whose popups give the What's-This texts (set once when the
// first DVUser is created).
void SetApplicationHelpFile(const QString &helpFilePath);
QString ApplicationHelpFile();
// The What's-This text of a help id from the help file's popups ("" if none).
QString WhatsThisText(const QString &helpFilePath, int helpId);

// A control's What's-This help id: kept on the widget and its What's-This text
// taken from the application help file. Id 0 clears the text.
void SetWhatsThisHelpId(QWidget *widget, int helpId);
int WhatsThisHelpId(const QWidget *widget);
// The help ids of a form's children, found by their control names.
void SetWhatsThisHelpIds(QWidget *form, std::span<const std::pair<const char *, int>> ids);

} // namespace qv::ui
