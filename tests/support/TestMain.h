#pragma once

#include <QString>
#include <QStringList>

namespace qv::test {

// Each test executable defines whether it needs a QApplication.
bool NeedsGuiApplication();

// The executable's own path, for tests that start a second process of it.
QString SelfPath();

// Handles "--child NAME args..." runs of the executable: returns the process
// exit code, or -1 when this is no child run. Defined by executables that use
// child processes; the default answers -1.
int RunChild(const QStringList &arguments);

} // namespace qv::test
