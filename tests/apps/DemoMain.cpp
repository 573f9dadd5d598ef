#include "TestMain.h"

namespace qv::test {

// Documents lay out text with fonts, which need a GUI application.
bool NeedsGuiApplication()
{
    return true;
}

} // namespace qv::test

namespace qv::test {

int RunChild(const QStringList &)
{
    return -1;
}

} // namespace qv::test
