#include "EntryFixture.h"

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

// No test of this executable starts a child of it.
int RunChild(const QStringList &)
{
    return 2;
}

} // namespace qv::test
