#pragma once

#include <QJsonArray>
#include <QString>

namespace qvhostd {

// The environment variable that names a file of scripted answers: tests of
// a host run the process without a person in front of it.
inline constexpr auto kScriptVariable = "QVHOSTD_SCRIPT";

// Queues one modal driver per step of the script, in order: each works the
// next dialog the library shows. A step is an object:
//   "tick":     rows (0-based, as listed) to tick once the rows are in
//   "layout", "style", "position": entries to choose in Insert Data's lists
//   "press":    the button that closes the dialog ("cmdOK", "cmdCancel",
//               "cmdClose"); absent, the dialog stays open until it is closed
//               otherwise or the process ends
//   "log":      a file to which one JSON line is appended once the rows are
//               in and chosen: {"dialog", "caption", "rows", "header", "ticked",
//               "shown", "pid", "shownAt", "rowsAt"}: the captions shown, the
//               ticked rows and their texts as shown, and when (ms since the
//               epoch) the dialog came on screen and its rows were in
// Answers how many steps were queued; a file that cannot be read or parsed
// queues none and says why in `error`.
int QueueScript(const QString &path, QString &error);
// The same for steps already parsed.
int QueueSteps(const QJsonArray &steps);

} // namespace qvhostd
