#pragma once

#include <QString>

namespace qv::biz {

// Error number the business services raise when a file of theirs cannot be written.
inline constexpr qint32 kErrorCannotWrite = 70;
inline constexpr auto kBizSource = "QVBIZ";

// The folder of the user's own files (saved settings, the personal and the
// tutorial configuration): QV_DATA_ROOT when set (tests), else the
// application data folder. Created when missing.
QString UserDataFolder();

// The component folder (see HostSettings.h); the shipped tutorial lies in
// its 1033/tutorial folder.
QString LibraryFolder();

// Raises kErrorCannotWrite naming the file and why.
[[noreturn]] void RaiseCannotWrite(const QString &path, const QString &why);

} // namespace qv::biz
