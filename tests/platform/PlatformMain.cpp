#include "TestMain.h"

#include "registry/Registry.h"

#include <QTextStream>

namespace qv::test {

bool NeedsGuiApplication()
{
    return false;
}

// Child runs, started by the registry tests as a second process:
//   read HIVE KEY VALUE          prints the text value
//   write HIVE KEY VALUE TEXT    writes a text value
//   odbc                         prints the file DSN folder the registry answers
int RunChild(const QStringList &arguments)
{
    QTextStream out(stdout);
    Registry registry;
    const QString verb = arguments.value(0);
    if (verb == QLatin1String("read") && arguments.size() == 4) {
        out << registry.GetValue(arguments[1].toUInt(nullptr, 0), arguments[2], arguments[3], Registry::String)
                   .ToText();
        return 0;
    }
    if (verb == QLatin1String("write") && arguments.size() == 5) {
        registry.SetValue(arguments[1].toUInt(nullptr, 0), arguments[2], arguments[3], Registry::String,
                          Variant(arguments[4]));
        return 0;
    }
    if (verb == QLatin1String("odbc")) {
        out << registry
                   .GetValue(Registry::LocalMachine, QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ODBC File DSN"),
                             QStringLiteral("DefaultDSNDir"), Registry::String)
                   .ToText();
        return 0;
    }
    return 2;
}

} // namespace qv::test
