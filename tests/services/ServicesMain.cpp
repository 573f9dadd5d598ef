#include "TestMain.h"

#include "automation/ComError.h"
#include "config/ConfigStore.h"

#include <cstdio>

namespace qv::test {

bool NeedsGuiApplication()
{
    return false;
}

namespace {

// "edit-rounds PATH ROUNDS TAG": adds the data views TAG 0 .. TAG ROUNDS-1, one
// a save; a save refused because someone else saved first is redone after
// reloading, as an author would.
int EditRounds(const QString &path, int rounds, const QString &tag)
{
    auto store = config::ConfigStore::Create();
    for (int i = 0; i < rounds; ++i) {
        for (int attempt = 0;; ++attempt) {
            try {
                store->Open(path);
                store->DataViewCollection().AddBlank()->Name = tag + QString::number(i);
                store->Save();
                break;
            } catch (const ComError &e) {
                if (e.Number() != config::kErrorChangedElsewhere || attempt > 1000) {
                    std::fprintf(stderr, "%s\n", qPrintable(e.Description()));
                    return 1;
                }
            }
        }
    }
    return 0;
}

} // namespace

// "save-loop PATH": keeps adding a data view and saving the file until killed,
// a line on the output after each save. "edit-rounds": see EditRounds.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) == QLatin1String("edit-rounds") && arguments.size() == 4)
        return EditRounds(arguments[1], arguments[2].toInt(), arguments[3]);
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
