#pragma once

#include "scripting/Collection.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QUuid;
class QWidget;

namespace qv {

class StringTable;

// Where this component remembers its values, under HKEY_CURRENT_USER.
inline constexpr auto kRegistryKey = "\\Software\\Harbrane\\Quorivo\\Data Views\\";
inline constexpr auto kLocaleFolderName = "1033";
inline constexpr auto kResourceFileName = "qvres.txt";
inline constexpr auto kHelpFileName = "qvhelp.chm";
inline constexpr auto kUntitled = "(Untitled)";

// --- resource strings ------------------------------------------------------

// The string table of the given path (nullptr when it cannot be read).
std::shared_ptr<const StringTable> LoadResourceLibrary(const QString &sPath);
// The table the thread's strings come from; DVUser sets it at creation and
// clears it at its end. Without one every string is "".
void SetResourceLibrary(std::shared_ptr<const StringTable> oLibrary);
std::shared_ptr<const StringTable> ResourceLibrary();

// The string of the number, cut to 1023 characters as the load buffer holds;
// with parameters, every "%s" becomes the first one, then every "%1", "%2",
// ... the first, second, ... one, in that order. "" when there is no such
// string or no library.
QString LoadResString(quint32 lNumber, const QStringList &params = {});
// The substitution alone, for a text already loaded.
QString SubstituteParams(QString sText, const QStringList &params);

// --- paths -----------------------------------------------------------------

QString JoinPath(const QString &sFolder, const QString &sName);
// The folder that holds "1033" (qvuser/HostSettings.h), as a path text ("\" separated).
QString ComponentFolder();
QString LocaleFolder();
QString ResourceLibraryPath(const QString &sFileName);
QString HelpFilePath(const QString &sFileName, bool bPopups);
QString FolderOfPath(const QString &sPath);
QString FileOfPath(const QString &sPath);
bool FileExists(const QString &sPath);
bool IsInvalidPath(const QString &sPath);
QString CutAtNul(const QString &sText);
QString DocumentsFolder();
QString AppDataFolder();

// --- wizards ---------------------------------------------------------------
// A wizard's "SkipWelcome" choice, kept under the component's key followed
// by the wizard's key name ("Data View Wizard"); false when never made or
// when it cannot be read. Writing raises as the registry does.
bool ReadSkipWelcome(const QString &sWizardKey);
void WriteSkipWelcome(const QString &sWizardKey, bool bSkip);

// --- help ------------------------------------------------------------------

bool ShowHelp(QWidget *oOwner, const QString &sHelpFilePath, long lContext);
// Installs the help key on a form: F1 opens the help's table of contents, or
// with bControlContext the page of the focused control's help id.
void InstallHelpKey(QWidget *oForm, bool bControlContext = false);

// --- texts and identifiers -------------------------------------------------

QString GuidText(const QUuid &oGuid);
QString NewGuidText();
QString WindowTitle(const QString &sTitle, const QString &sName, const QString &sDefaultName);
QString AddAccessKey(const QString &sCaption, QChar cKey);
// One line of at most lMaxLength characters: tabs and control characters
// become spaces, character 31 goes, and a longer text is cut at the last word
// boundary that leaves room for "...".
QString OneLineText(const QString &sText, int lMaxLength = 100);

// --- controls --------------------------------------------------------------

void TidyEditControl(QWidget *oControl);
void SelectAllTextBoxes(QWidget *oForm);
void FitWindowToControls(QWidget *oForm, QWidget *oRightControl, QWidget *oBottomControl = nullptr);
// Items come from colTexts; colItemData, when given, has one value per text.
void FillComboFromCollection(QComboBox *oCombo, const Collection &colTexts,
                             const Collection *colItemData = nullptr, bool bShorten = false);
void SetTopmost(QWidget *oForm, bool bTopmost);

} // namespace qv
