#pragma once

#include "ConfigObjects.h"

#include <QByteArray>

namespace qv::config {

// Error numbers the configuration library raises (with its source and a
// description that names the file and what went wrong).
inline constexpr qint32 kErrorUnreadable = qint32(0x80040201);
inline constexpr qint32 kErrorNotAccepted = qint32(0x80040206);
inline constexpr qint32 kErrorChangedElsewhere = qint32(0x80040207);
inline constexpr qint32 kErrorCannotWrite = 70;
inline constexpr auto kConfigSource = "QVCONFIG.ConfigStore";

// The smart tag sets of a store, 1-based.
class SmartTagSets
{
public:
    int Count() const { return int(m_sets.size()); }
    std::shared_ptr<SmartTagSet> Item(int position) const;
    std::shared_ptr<SmartTagSet> Add(const std::shared_ptr<IdSource> &ids, std::weak_ptr<ConfigStore> store);
    auto begin() const { return m_sets.begin(); }
    auto end() const { return m_sets.end(); }

private:
    friend class ConfigReader;
    std::vector<std::shared_ptr<SmartTagSet>> m_sets;
};

// One configuration file: its data views and smart tags. Saving replaces the
// file whole or not at all, under a lock file, and refuses to overwrite a
// file that changed on disk since this store read it, so that two authors
// saving one team file cannot undo each other's work.
class ConfigStore : public std::enable_shared_from_this<ConfigStore>
{
public:
    static std::shared_ptr<ConfigStore> Create();

    // Reads a file; raises kErrorUnreadable with the path and the reason.
    void Open(const QString &path);
    // Reads the file again, dropping every change not saved.
    void Reload(const QString &path);
    // Writes to `path`, or to the store's own file when it is empty; a store
    // saved elsewhere takes that file as its own. Raises kErrorCannotWrite or
    // kErrorChangedElsewhere; the file on disk is then as it was.
    void Save(const QString &path = {}, int flags = 0);
    // Empties the store for a new file, written by the next Save.
    void CreateNew(const QString &path, const QString &name, const QString &description,
                   const QString &smartTagNamespace);
    // Writes a configuration file with that name, description and smart tag
    // namespace and answers its store. A file that is there already keeps its
    // data views and smart tags; only those three change. Raises as Open and Save.
    static std::shared_ptr<ConfigStore> CreateFile(const QString &path, const QString &name,
                                                   const QString &description, const QString &smartTagNamespace);

    // The document form of the store and its reader (Open reads through it).
    QByteArray ToXml() const;
    void ReadXml(const QByteArray &xml, const QString &pathForMessages);

    QString FilePath() const { return m_path; }
    QString Name;
    QString Description;
    QString SmartTagNamespace;
    // 0 no file, 1 a configuration file (opened, created or saved).
    qint32 FileKind() const { return m_path.isEmpty() ? 0 : 1; }

    DataViews &DataViewCollection() { return *m_dataViews; }
    const DataViews &DataViewCollection() const { return *m_dataViews; }
    class SmartTagSets &SmartTagSets() { return m_smartTagSets; }
    const class SmartTagSets &SmartTagSets() const { return m_smartTagSets; }
    const std::shared_ptr<IdSource> &Ids() const { return m_ids; }

    // True when a smart tag recognizes from the data view or acts on it.
    bool DataViewInUse(qint32 id) const;

private:
    ConfigStore() = default;
    void Reset();
    void CheckUnchangedOnDisk() const;

    friend class ConfigReader;
    QString m_path;
    std::shared_ptr<IdSource> m_ids;
    std::unique_ptr<DataViews> m_dataViews;
    class SmartTagSets m_smartTagSets;
    XmlExtras m_extras;
    // What the file held when read or last written, to tell whether someone else saved since.
    bool m_fileExisted = false;
    QByteArray m_fileDigest;
};

} // namespace qv::config
