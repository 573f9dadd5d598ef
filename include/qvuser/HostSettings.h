#pragma once

// Where QVUser finds its resources and keeps its remembered values, as the
// host says. Set them once, on the user-interface thread, before the first
// DVUser is created; later changes reach only what is read afterwards.

#include <QString>
#include <QStringList>

namespace qv {

// Each member left "" keeps the library's own choice. An environment
// variable, where one is named, overrides the member (tests and
// administrators use them).
struct HostSettings
{
    // The folder of the two registry files, HKEY_CURRENT_USER.ini and
    // HKEY_LOCAL_MACHINE.ini, in which QVUser remembers the user's choices
    // (last data view, window places, configuration file paths). "" uses Qt's
    // INI locations of the user and the system scope (organisation
    // "Harbrane", application "registry"). Overridden by QV_REGISTRY_ROOT.
    QString RegistryRoot;

    // The root of the contacts and tasks folders (one vCard file a contact,
    // one iCalendar file a task, a folder a collection). "" means there is
    // none. Overridden by QV_PIM_ROOT; a data services object's own
    // SetPimRoot wins over this for that object.
    QString PimRoot;

    // The folder that holds the "1033" folder (string table, help pages,
    // tutorial configuration). "" looks beside the loaded library and then
    // in the installed share folder (../share/qvuser from the library).
    // Give it when the library is deployed somewhere without either.
    QString ComponentFolder;
};

// Replaces the settings of this process. Thread-safe.
void SetHostSettings(const HostSettings &settings);
HostSettings CurrentHostSettings();

// The folders that may hold "1033", in the order they are tried: the given
// component folder alone when the host set one, else the loaded library's
// folder and the installed share folder.
QStringList ComponentFolderCandidates();

// The first candidate whose "1033" folder holds the string table, or the
// first candidate when none does (DVUser then raises an error naming all of
// them).
QString FoundComponentFolder();

} // namespace qv
