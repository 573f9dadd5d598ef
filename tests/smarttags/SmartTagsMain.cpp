#include "TestMain.h"

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

int RunChild(const QStringList &)
{
    return -1;
}

} // namespace qv::test
