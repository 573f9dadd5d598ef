#include "TestMain.h"

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

int RunChild(const QStringList &)
{
    return 2;
}

} // namespace qv::test
