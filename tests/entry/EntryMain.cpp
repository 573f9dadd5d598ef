#include "EntryFixture.h"

#include "common/basUtility.h"
#include "resources/PathText.h"
#include "qvuser/DVUser.h"

#include <QDir>

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

// "--child NoResources FOLDER": run with a copy of the library in FOLDER and
// no "1033" beside it; 0 when every string is empty, as it must be.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("NoResources"))
        return 2;
    if (QDir(qv::FileSystemPath(qv::ComponentFolder())) != QDir(arguments.value(1)))
        return 3; // the copy was not the library loaded
    DVUser user;
    if (!qv::LoadResString(340).isEmpty() || qv::ResourceLibrary())
        return 4;
    return 0;
}

} // namespace qv::test
