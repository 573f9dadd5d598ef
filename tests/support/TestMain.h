#pragma once

#include <QLocale>
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

// Sets the default locale for a scope ("en_US", "en_GB", "de_DE") and puts
// the previous one back.
class ScopedLocale
{
public:
    explicit ScopedLocale(const char *name) : m_previous(QLocale()) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~ScopedLocale() { QLocale::setDefault(m_previous); }
    ScopedLocale(const ScopedLocale &) = delete;
    ScopedLocale &operator=(const ScopedLocale &) = delete;

private:
    QLocale m_previous;
};

} // namespace qv::test
