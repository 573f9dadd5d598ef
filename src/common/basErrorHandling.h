#pragma once

#include "automation/ComError.h"

#include <QString>

#include <exception>
#include <utility>

namespace qv {

// The window families' message box titles.
inline constexpr auto kTitleDataViews = "Quorivo Data Views";
inline constexpr auto kTitleManager = "Quorivo Data View Manager";
inline constexpr auto kTitleWizard = "Quorivo Data View Wizard";
inline constexpr auto kTitleSmartTagWizard = "Quorivo Data View Smart Tag Wizard";

// Raises an error: number 0 means the current error's number, an empty
// description the current error's description, and an empty source gives
// the library's name. The error becomes the current error as it is raised.
[[noreturn]] void RaiseError(qint32 lNumber, const QString &sSource, const QString &sDescription,
                             const QString &sHelp = {});

// Shows the current error (prefix on its own first line when given) through
// ShowMessage and clears it first; an empty title gives "Quorivo Data Views".
void ShowError(const QString &sPrefix = {}, const QString &sTitle = {}, const QString &sExtra = {},
               int lStyle = 48);

// Source becomes sProcedure + ": " + the old source.
void AddErrorSource(const QString &sProcedure);

// Shows a message box and returns the button's answer number. An empty title
// takes the active window's caption, or "Quorivo Data Views". The mouse
// pointer goes back to the default first.
int ShowMessage(const QString &sMessage, const QString &sTitle = {}, int lStyle = 0,
                const QString &sHelpFile = {}, int lContext = 0);

// Shows the current error, cleared first, in a box that also offers the
// action button sAction; answers ui::mb::Action when that was pressed.
int ShowErrorWithAction(const QString &sAction, const QString &sExtra, const QString &sTitle);

// Makes the exception being handled the current error; call only inside a
// catch block. Exceptions other than ComError become error 51 with their text,
// so that nothing but a ComError is ever reported.
void CaptureError();

// Runs a form handler body: a failure becomes the current error and is shown
// with ShowError(sPrefix, sTitle, "", lStyle). Returns False when it failed.
// This is how slots and event handlers keep every exception inside.
template<typename Body>
bool HandleErrors(Body &&body, const QString &sTitle = {}, const QString &sPrefix = {},
                  int lStyle = 48) noexcept
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        CaptureError();
    }
    ShowError(sPrefix, sTitle, {}, lStyle);
    return false;
}

// Runs a public member's body: a failure gets "QVUSER.DVUser." + sProcedure
// added to its source and is raised again for the host.
template<typename Body>
decltype(auto) PassErrorsOn(const QString &sProcedure, Body &&body)
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        CaptureError();
    }
    AddErrorSource(QStringLiteral("QVUSER.DVUser.") + sProcedure);
    const ErrorState &error = CurrentError();
    RaiseError(error.Number, error.Source, error.Description);
}

} // namespace qv
