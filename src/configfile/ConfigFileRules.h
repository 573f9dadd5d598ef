#pragma once

#include "ui/FileDialog.h"

#include <QString>

#include <functional>
#include <memory>

namespace qv::config {
class ConfigStore;
}

namespace qv::configfile {

// The name a team file gets unless the user gives another.
inline constexpr auto kDefaultTeamFileName = "qvDataView Team.cfg";
// The smart tag namespace of every configuration file the wizard writes.
inline constexpr auto kTeamSmartTagNamespace = "schemas-harbrane-com:quorivo:smarttag#edsteam";
// Raised for a configuration file name the rules refuse.
inline constexpr qint32 kErrorInvalidFilename = qint32(0x80040210);

// A path cut at its last separator: the folder with its separator, and the name.
struct PathParts
{
    QString sFolder, sName;
};
// Both "\" (the system's path texts) and "/" (the paths Qt's dialogs give)
// separate folders here.
PathParts SplitConfigPath(const QString &sPath);

// The path a configuration file is written to: the name must not be empty
// nor start or end with "."; a name without "." gets ".cfg"; the whole path
// must pass the path-character check. Answers the path as the file system
// names it ("/" separated); raises kErrorInvalidFilename "Invalid filename".
QString CheckConfigFileName(const QString &sPath);

// The default team file in a folder ("" when no folder is given).
QString ProposedTeamFile(const QString &sDefaultFolder);

// The file dialog Browse shows: a save dialog when creating, an open dialog
// when linking, starting at the parts of the current path that are valid.
ui::FileDialogRequest BrowseRequest(bool bCreating, const QString &sCurrentPath);

// The registry key name this wizard keeps its "SkipWelcome" under.
inline constexpr auto kSkipWelcomeKey = "Data View Manager";

// Saves the store to its own file. When someone else saved that file since
// the store read it, askReload decides: true reloads the file with their
// changes, runs redo to make the caller's change again and saves once more;
// false answers false with nothing saved. Other failures raise as Save does.
bool SaveRedoingOnConflict(config::ConfigStore &oStore, const std::function<void(config::ConfigStore &)> &redo,
                           const std::function<bool()> &askReload);

} // namespace qv::configfile
