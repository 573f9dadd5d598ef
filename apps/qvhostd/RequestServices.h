#pragma once

#include "qvuser/scripting/Collection.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace qvhostd {

// The asking host's application as the library sees it: its name and version.
class RequestApplication : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version CONSTANT)

public:
    using QObject::QObject;
    QString Version() const { return m_version; }
    void SetVersion(const QString &version) { m_version = version; }

private:
    QString m_version;
};

// The host services object handed to DVUser while a request runs: an
// adapter over what the request told of its host. The library reaches the
// members by name, so their names and argument kinds are the contract:
//   QString GetPath(int lPathType)
//   QStringList GetStyles(int lStyleType, bool bIncludeBuiltIn)
//   QObject *Application, whose QString Version names the host's version.
class RequestServices : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *Application READ Application CONSTANT)

public:
    enum PathType { DocumentsPath = 1, TeamConfigurationPath = 3 };
    enum StyleType { ParagraphStyles = 1, TableStyles = 3 };

    explicit RequestServices(QObject *parent = nullptr);

    // What the request told: its styles, its documents and team folders and
    // its version ("" keeps the library's defaults).
    void SetStyles(const QStringList &paragraphStyles, const QStringList &tableStyles);
    void SetPaths(const QString &documents, const QString &teamFolder);
    void SetVersion(const QString &version) { m_application->SetVersion(version); }

    // The documents folder (1) or the folder proposed for a team file (3);
    // "" for another kind.
    Q_INVOKABLE QString GetPath(int lPathType) const;
    // The host's paragraph (1) or table (3) styles; the host's own lists
    // already hold its built-in styles, so bIncludeBuiltIn changes nothing.
    Q_INVOKABLE QStringList GetStyles(int lStyleType, bool bIncludeBuiltIn) const;
    QObject *Application() const { return m_application; }

    // GetStyles as the collection Insert Data takes.
    std::shared_ptr<qv::Collection> StyleCollection(int lStyleType) const;

private:
    QStringList m_paragraphStyles;
    QStringList m_tableStyles;
    QString m_documents;
    QString m_teamFolder;
    RequestApplication *m_application;
};

} // namespace qvhostd
