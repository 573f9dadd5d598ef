#include "TestMain.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigStore.h"

#include <cstdio>

namespace qv::test {

bool NeedsGuiApplication()
{
    return false;
}

// "save-personal NAME": adds a data view to the personal configuration, saves
// it and prints the change stamp this process then reads.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("save-personal") || arguments.size() != 2)
        return -1;
    biz::ConfigFileSettings settings;
    auto store = config::ConfigStore::Create();
    store->Open(settings.GetConfigFilePath(biz::ConfigFileSettings::Personal));
    store->DataViewCollection().AddBlank()->Name = arguments[1];
    store->Save();
    std::printf("%s\n", qPrintable(settings.ChangeStamp(biz::ConfigFileSettings::Personal)));
    return 0;
}

} // namespace qv::test
