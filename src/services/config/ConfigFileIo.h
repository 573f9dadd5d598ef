#pragma once

#include <QByteArray>
#include <QString>

namespace qv::config {

// The file operations of a configuration store, each raising the store's own
// ComError with a reason the user can act on.

// The bytes of a configuration file. Only a regular file is read: a FIFO or
// a device (a link to /dev/zero) would block or never end. Raises kErrorUnreadable.
QByteArray ReadConfigFile(const QString &path);

// The path whose ".lock" guards `path`: the file's canonical path, so that
// writers reaching one file through a link and through its real name take the
// same lock. A file not written yet is named in its folder's canonical path.
QString CanonicalConfigPath(const QString &path);

// Raises kErrorCannotWrite when the file is there and marked read-only; the
// write bits count even for root, who could write it anyway.
void CheckNotReadOnly(const QString &path);

// Replaces the file whole (the old file or the new, never half of each).
// Raises kErrorCannotWrite, naming a full disk as such.
void WriteConfigFile(const QString &path, const QByteArray &bytes);

// Raises kErrorCannotWrite: the file cannot be written, for `why`. A failure
// with less room on the disk than `needed` bytes and a little more is
// reported as a full disk, whatever the call that failed said.
[[noreturn]] void RaiseCannotWrite(const QString &path, const QString &why, qint64 needed = 0);

} // namespace qv::config
