#include "TestMain.h"

#include "config/ConfigStore.h"
#include "configfile/ConfigFileRules.h"

#include <cstdio>

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

// "add-views PATH PREFIX COUNT": another author adds COUNT data views to a
// configuration file, saving after each; a save refused because someone else
// saved first is made again on their version. Prints how many were redone.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("add-views") || arguments.size() != 4)
        return -1;
    auto store = config::ConfigStore::Create();
    store->Open(arguments[1]);
    int redone = 0;
    for (int i = 0, count = arguments[3].toInt(); i < count; ++i) {
        const QString name = arguments[2] + QString::number(i);
        const auto add = [&](config::ConfigStore &target) { target.DataViewCollection().AddBlank()->Name = name; };
        add(*store);
        configfile::SaveRedoingOnConflict(*store, add, [&] { return ++redone > 0; });
    }
    std::printf("redone\t%d\n", redone);
    return 0;
}

} // namespace qv::test
