#include "TestMain.h"

namespace qv::test {

// The wizard's sequence is decided without a window.
bool NeedsGuiApplication()
{
    return false;
}

int RunChild(const QStringList &)
{
    return -1;
}

} // namespace qv::test
