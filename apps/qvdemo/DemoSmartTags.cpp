#include "DemoSmartTags.h"

#include "SmartTagHighlighter.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/config/ConfigStore.h"
#include "qvuser/data/SmartTagRecognition.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <exception>

namespace qvdemo {

using qv::biz::ConfigFileSettings;

DemoSmartTags::DemoSmartTags(QTextEdit *editor, Runner run)
    : QObject(editor), m_editor(editor), m_run(std::move(run)), m_settings(std::make_unique<ConfigFileSettings>()),
      m_recognition(new qv::data::SmartTagRecognition(this)),
      m_highlighter(new SmartTagHighlighter(editor->document())), m_watcher(new QFileSystemWatcher(this)),
      m_changed(new QTimer(this))
{
    Q_ASSERT(m_run);
    connect(m_recognition, &qv::data::SmartTagRecognition::Ready, this, [this] {
        if (m_recognition->Terms() != m_highlighter->Terms())
            m_highlighter->SetTerms(m_recognition->Terms());
        emit Ready();
    });
    connect(m_recognition, &qv::data::SmartTagRecognition::Failed, this, &DemoSmartTags::Report);
    connect(m_recognition, &qv::data::SmartTagRecognition::Limited, this, &DemoSmartTags::Report);
    // A save replaces the file, so the folders are watched too; several
    // changes in a row make one reload.
    m_changed->setSingleShot(true);
    m_changed->setInterval(200);
    connect(m_changed, &QTimer::timeout, this, &DemoSmartTags::ReloadIfChanged);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_changed, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_changed, qOverload<>(&QTimer::start));
    connect(m_settings.get(), &ConfigFileSettings::ConfigurationChangedSignal, m_changed, qOverload<>(&QTimer::start));
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    // Back in the editor, the author may have changed a source elsewhere:
    // only sources whose files changed are read again.
    editor->window()->installEventFilter(this);
}

DemoSmartTags::~DemoSmartTags() = default;

void DemoSmartTags::ReportError(const std::exception &e)
{
    emit Report(QStringLiteral("Smart tags: %1").arg(QString::fromUtf8(e.what())));
}

QStringList DemoSmartTags::Stamps() const
{
    return {m_settings->ChangeStamp(ConfigFileSettings::Personal), m_settings->ChangeStamp(ConfigFileSettings::Team)};
}

void DemoSmartTags::Reload()
{
    QList<std::shared_ptr<qv::config::ConfigStore>> stores;
    QStringList paths;
    try {
        m_stamps = Stamps();
    } catch (const std::exception &e) {
        ReportError(e);
    }
    for (const int kind : {ConfigFileSettings::Personal, ConfigFileSettings::Team}) {
        try {
            const QString path = m_settings->GetConfigFilePath(kind);
            if (path.isEmpty() || !QFileInfo::exists(path))
                continue;
            paths << path;
            auto store = qv::config::ConfigStore::Create();
            store->Open(path);
            stores << store;
        } catch (const std::exception &e) {
            ReportError(e);
        }
    }
    Watch(paths);
    m_stores = stores;
    m_recognition->Rebuild(m_stores);
}

void DemoSmartTags::ReloadIfChanged()
{
    try {
        if (Stamps() == m_stamps)
            return;
    } catch (const std::exception &e) {
        ReportError(e);
        return;
    }
    Reload();
}

void DemoSmartTags::Watch(const QStringList &paths)
{
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    QStringList watched;
    for (const QString &path : paths)
        watched << QFileInfo(path).absoluteFilePath() << QFileInfo(path).absolutePath();
    watched.removeDuplicates();
    if (!watched.isEmpty())
        m_watcher->addPaths(watched);
}

QMenu *DemoSmartTags::MenuAt(const QPoint &viewportPoint)
{
    QMenu *menu = m_editor->createStandardContextMenu(m_editor->viewport()->mapToParent(viewportPoint));
    const QTextCursor at = m_editor->cursorForPosition(viewportPoint);
    const QTextBlock block = at.block();
    const QList<SmartTagCommand> commands =
        CommandsAt(*m_highlighter->Terms(), block.text(), at.position() - block.position());
    QAction *first = menu->actions().value(0);
    for (qsizetype i = 0; i < commands.size(); ++i) {
        auto *action = new QAction(commands[i].Prompt, menu);
        action->setObjectName(QStringLiteral("mnuSmartTagAction%1").arg(i + 1));
        // Run once the menu is gone: the command shows a modal dialog.
        connect(action, &QAction::triggered, this, [this, command = commands[i]] {
            QTimer::singleShot(0, this, [this, command] { m_run(command); });
        });
        menu->insertAction(first, action);
    }
    if (!commands.isEmpty())
        menu->insertSeparator(first);
    return menu;
}

bool DemoSmartTags::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched == m_editor->window() && !m_stores.isEmpty())
        m_recognition->Rebuild(m_stores);
    if (event->type() != QEvent::ContextMenu || !m_highlighter->Terms())
        return QObject::eventFilter(watched, event);
    auto *request = static_cast<QContextMenuEvent *>(event);
    QWidget *viewport = m_editor->viewport();
    // From the keyboard the menu is for the term at the cursor.
    const QPoint point = request->reason() == QContextMenuEvent::Keyboard
                             ? m_editor->cursorRect().center()
                             : viewport->mapFrom(static_cast<QWidget *>(watched), request->pos());
    try {
        QMenu *menu = MenuAt(point);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(viewport->mapToGlobal(point));
    } catch (const std::exception &e) {
        ReportError(e);
    }
    return true;
}

} // namespace qvdemo
