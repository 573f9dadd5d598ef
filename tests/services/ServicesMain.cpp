#include "TestMain.h"

#include "config/ConfigStore.h"

#include <cstdio>

namespace qv::test {

bool NeedsGuiApplication()
{
    return false;
}

// "save-loop PATH": keeps adding a data view and saving the file until killed,
// a line on the output after each save.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("save-loop") || arguments.size() != 2)
        return -1;
    auto store = config::ConfigStore::Create();
    store->Open(arguments[1]);
    for (int i = 0;; ++i) {
        auto view = store->DataViewCollection().AddBlank();
        view->Name = QStringLiteral("Saved %1").arg(i);
        for (int f = 0; f < 10; ++f)
            view->Fields.Add(QStringLiteral("Field %1").arg(f));
        store->Save();
        // Tells the parent that saves are under way, so its kill falls among them.
        std::fputs("saved\n", stdout);
        std::fflush(stdout);
    }
}

} // namespace qv::test
