#pragma once

#include "qvuser/automation/Variant.h"

#include <QString>

namespace qv {

// Registry values on INI files: HKEY_CURRENT_USER in the user scope and
// HKEY_LOCAL_MACHINE in the system scope; with QV_REGISTRY_ROOT or the host's
// registry root (HostSettings.h) set, both hives are files in that folder
// instead. Key paths keep their backslash form
// ("Software\Harbrane\..."), their parts are matched without regard to case as
// the registry does, and every write reaches the file before it returns, so
// other processes see it.
class Registry
{
public:
    enum Hive : quint32 { CurrentUser = 0x80000001, LocalMachine = 0x80000002 };
    enum ValueType : int { String = 1, ExpandString = 2, DWord = 4, QWord = 11 };

    // The value, converted to the type; the default when the key or value is
    // absent or the stored text does not convert. An empty value name is the
    // key's default value.
    Variant GetValue(quint32 hive, const QString &key, const QString &valueName, int type,
                     const Variant &defaultValue = {}) const;
    // Raises 5 for an unknown hive or type, 13 for a value that is not of the
    // type, and 75 when the hive's file cannot be written.
    void SetValue(quint32 hive, const QString &key, const QString &valueName, int type,
                  const Variant &value);

    // The folder where the hive's file lives (for messages and tests).
    static QString HiveFile(quint32 hive);
};

// The file data source folder of unixODBC's configuration, the answer to
// "SOFTWARE\ODBC\ODBC.INI\ODBC File DSN" "DefaultDSNDir".
QString OdbcFileDsnFolder();

} // namespace qv
