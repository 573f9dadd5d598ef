#include "TestMain.h"

namespace qv::test {

// The host process shows the library's dialogs.
bool NeedsGuiApplication()
{
    return true;
}

int RunChild(const QStringList &)
{
    return -1;
}

} // namespace qv::test
