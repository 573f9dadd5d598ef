#pragma once

#include <QString>

namespace qv {

// The system builds and compares paths as texts with "\" between their parts.
// These two convert at the edge, where the file system is reached.
QString FileSystemPath(const QString &pathText);
QString SystemPathText(const QString &fileSystemPath);

} // namespace qv
