#pragma once

#include "DemoStyles.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv {
template<typename T>
class BasicCollection;
class Variant;
using Collection = BasicCollection<Variant>;
} // namespace qv

namespace qvdemo {

// The editor as the library sees it: Version, as a word processor's application object has.
class DemoApplication : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version CONSTANT)

public:
    using QObject::QObject;
    QString Version() const { return QStringLiteral("1.0"); }
};

// The host services object the editor hands to DVUser. The library reaches
// its members by name (QMetaObject::invokeMethod, property()), so their names
// and argument kinds are the contract:
//   QString GetPath(int lPathType)
//   QStringList GetStyles(int lStyleType, bool bIncludeBuiltIn)
//   QObject *Application, whose QString Version names the editor's version.
class HostServices : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *Application READ Application CONSTANT)

public:
    // GetPath's kinds.
    enum PathType { DocumentsPath = 1, SamplesPath = 2, TeamConfigurationPath = 3 };
    // GetStyles' kinds; character styles (2) this editor has none of.
    enum StyleType { ParagraphStyles = 1, CharacterStyles = 2, TableStyles = 3 };

    HostServices(StyleBook styles, QString samplesFolder, QObject *parent = nullptr);

    // The documents folder (1), the sample sources' folder (2), the folder
    // where a team configuration file is proposed (3); "" for another kind.
    Q_INVOKABLE QString GetPath(int lPathType) const;
    // The names of the editor's paragraph (1) or table (3) styles; with
    // bIncludeBuiltIn the built-in plain style comes first. Empty for another kind.
    Q_INVOKABLE QStringList GetStyles(int lStyleType, bool bIncludeBuiltIn) const;
    QObject *Application() const { return m_application; }

    // GetStyles as the collection Insert Data takes.
    std::shared_ptr<qv::Collection> StyleCollection(int lStyleType) const;
    const StyleBook &Styles() const { return m_styles; }

private:
    StyleBook m_styles;
    QString m_samplesFolder;
    DemoApplication *m_application;
};

} // namespace qvdemo
