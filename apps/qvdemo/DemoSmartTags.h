#pragma once

#include "SmartTagCommands.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>

class QFileSystemWatcher;
class QMenu;
class QTextEdit;
class QTimer;

namespace qv::biz {
class ConfigFileSettings;
}
namespace qv::config {
class ConfigStore;
}
namespace qv::data {
class SmartTagRecognition;
}

namespace qvdemo {

class SmartTagHighlighter;

// The editor's smart tags: the terms of the enabled smart tags of the
// personal and team configurations are marked as the author types, and the
// context menu on a marked term offers its tags' actions. The terms are
// built when the editor starts and again whenever either configuration is
// saved, by this process or another; a field's values are read again when
// the editor is activated after the file of their source changed.
class DemoSmartTags : public QObject
{
    Q_OBJECT

public:
    using Runner = std::function<void(const SmartTagCommand &)>;

    DemoSmartTags(QTextEdit *editor, Runner run);
    ~DemoSmartTags() override;

    // Opens both configurations again and rebuilds the terms.
    void Reload();
    qv::data::SmartTagRecognition &Recognition() const { return *m_recognition; }
    SmartTagHighlighter &Highlighter() const { return *m_highlighter; }
    // The editor's context menu for a point of its viewport: the actions of
    // the smart tags of the term there first, then the editor's own commands.
    // The caller owns it.
    QMenu *MenuAt(const QPoint &viewportPoint);

signals:
    // The terms now marked are those of the configurations as they stand.
    void Ready();
    // Something the author should know: a configuration that could not be read,
    // a source whose values could not be fetched.
    void Report(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Watch(const QStringList &paths);
    // Reloads when a configuration changed since it was read.
    void ReloadIfChanged();
    QStringList Stamps() const;
    void ReportError(const std::exception &e);

    QTextEdit *m_editor;
    Runner m_run;
    std::unique_ptr<qv::biz::ConfigFileSettings> m_settings;
    qv::data::SmartTagRecognition *m_recognition;
    SmartTagHighlighter *m_highlighter;
    QFileSystemWatcher *m_watcher;
    QTimer *m_changed;
    QStringList m_stamps;
    QList<std::shared_ptr<qv::config::ConfigStore>> m_stores;
};

} // namespace qvdemo
