#pragma once

// What Copy puts on the clipboard and a drag carries: the copied data views
// in a MIME type of our own, so that a second manager process pastes them
// too. Qt Core only.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config

namespace qv::manager {

// The clipboard format: a versioned header (the source file, its root type,
// the identifiers) and the XML of a configuration document that holds a copy
// of every copied data view, in the same order.
inline constexpr auto kDataViewsMimeType = "application/x-quorivo-dataviews";

struct CopiedItems
{
    // The canonical path of the file the items were copied from, and the root
    // (8 personal, 9 team) that showed it.
    QString sSourceFile;
    qint32 lSourceRoot = 0;
    // The data views' identifiers in that file, in list order.
    std::vector<qint32> colIds;
    // A configuration document holding copies of those data views, in order.
    QByteArray baXml;
    // Their names, in order (the plain text a text editor pastes).
    QStringList colNames;

    bool IsEmpty() const { return colIds.empty(); }
};

// Copies of the data views of `source` with those identifiers (in that
// order; identifiers it does not hold are left out).
CopiedItems CopyDataViews(const config::ConfigStore &source, qint32 lSourceRoot, const std::vector<qint32> &colIds);

// The copies the items carry, in order; raises as a configuration file that
// cannot be read does when the document is damaged.
std::vector<std::shared_ptr<config::DataView>> CarriedDataViews(const CopiedItems &oItems);

// The format's bytes and back; std::nullopt for bytes of any other making
// (another version, cut short, more identifiers than views).
QByteArray EncodeCopiedItems(const CopiedItems &oItems);
std::optional<CopiedItems> DecodeCopiedItems(const QByteArray &baBytes);

// MIME data holding the items in our format, with their names as plain text.
QMimeData *MakeMimeData(const CopiedItems &oItems);
// The items of MIME data in our format; std::nullopt for any other.
std::optional<CopiedItems> ReadMimeData(const QMimeData *oData);

// The path a file is compared by: canonical when it exists, else clean.
QString ComparableFilePath(const QString &sPath);

} // namespace qv::manager
