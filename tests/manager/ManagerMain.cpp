#include "TestMain.h"

#include "config/ConfigStore.h"

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

// "add-view PATH NAME": another program adds a data view to a configuration file and saves it.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("add-view") || arguments.size() != 3)
        return -1;
    auto store = config::ConfigStore::Create();
    store->Open(arguments[1]);
    store->DataViewCollection().AddBlank()->Name = arguments[2];
    store->Save();
    return 0;
}

} // namespace qv::test
