#include "TestMain.h"

namespace qv::test {

bool NeedsGuiApplication()
{
    return false;
}

int RunChild(const QStringList &)
{
    return -1;
}

} // namespace qv::test
