#pragma once

// The manager's undo history: what Ctrl+Z takes back. Qt Core only (the
// window's other decisions are too, and QUndoStack lives in Qt GUI), so it
// is a small list of its own, kept by ManagerState.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv::config {
class ConfigStore;
}

namespace qv::manager {

// Each change recorded is a whole store before and after: the document the
// store held before the change, and a digest of the bytes the change's save
// wrote. A change can be undone while its file still holds exactly those
// bytes, so an undo never takes back anything but that change: not a save
// by another program, nor one of this window's changes that are not undone
// (a wizard's save). Undoing writes the earlier
// document through the store's safe save.
class ManagerHistory
{
public:
    struct Entry
    {
        QString sWhat;            // "Delete", "Rename", "Paste", "Drop", "Enable", "Disable", "Clear Warnings", "Recognizer Terms"
        QString sFile;            // the file, as ComparableFilePath gives it
        QByteArray baBefore;      // the store's document before the change
        QByteArray baAfterDigest; // the digest of what the change's save wrote
    };

    enum class Check {
        Nothing,      // no change to undo
        NotOpen,      // the file is no longer shown in the window
        ChangedSince, // the file was saved again after the change
        Ready,
    };

    // The last change's store document before it, and what its save wrote.
    void Record(const QString &sWhat, const QString &sFile, QByteArray baBefore, const QByteArray &baWritten);

    bool IsEmpty() const { return m_colEntries.empty(); }
    int Count() const { return int(m_colEntries.size()); }
    // The change Ctrl+Z would take back; nullptr when none.
    const Entry *Top() const { return m_colEntries.empty() ? nullptr : &m_colEntries.back(); }

    // Whether the top change can be undone in `store` (the window's store
    // of its file, nullptr when that file is not shown).
    Check CheckTop(const config::ConfigStore *store) const;

    // Undoes the top change in `store`: gives it its earlier document and
    // saves. A change that cannot be undone any more (see CheckTop) is
    // dropped with every earlier one of its file, and the store is left as
    // it was. A failed save raises as ConfigStore::Save does, with the store
    // back as it was before and the change still recorded.
    Check Undo(config::ConfigStore *store);

    // Digest of bytes as Record and CheckTop compare them.
    static QByteArray Digest(const QByteArray &baBytes);

private:
    void DropFile(const QString &sFile);

    std::vector<Entry> m_colEntries;
};

} // namespace qv::manager
