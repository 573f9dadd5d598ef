#include "HelpService.h"

#include "resources/PathText.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qv::ui {
namespace {

const char kHelpIdProperty[] = "WhatsThisHelpID";

QString &AppHelpFile()
{
    thread_local QString path;
    return path;
}

// Tables are read once per folder; help files do not change while we run.
std::shared_ptr<const StringTable> HelpTable(const QString &folder, const QString &name)
{
    thread_local QHash<QString, std::shared_ptr<const StringTable>> cache;
    const QString path = QDir(folder).filePath(name);
    auto it = cache.constFind(path);
    if (it != cache.cend())
        return *it;
    auto table = StringTable::Load(path);
    cache.insert(path, table);
    return table;
}

QPointer<QWidget> &Window()
{
    thread_local QPointer<QWidget> window;
    return window;
}

QTextBrowser *Browser(QWidget *owner)
{
    if (!Window()) {
        auto *window = new QWidget(nullptr, Qt::Window);
        window->setObjectName(QStringLiteral("frmHelp"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(720, 560);
        auto *browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("brwHelp"));
        browser->setOpenLinks(true);
        auto *layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        Window() = window;
    }
    if (owner && !Window()->isVisible())
        Window()->move(owner->window()->geometry().topRight() + QPoint(16, 0));
    return Window()->findChild<QTextBrowser *>(QStringLiteral("brwHelp"));
}

} // namespace

QString HelpFolderOf(const QString &helpFilePath)
{
    QString file = helpFilePath;
    const qsizetype inner = file.indexOf(QLatin1String("::"));
    if (inner >= 0)
        file.truncate(inner);
    const QFileInfo info(FileSystemPath(file));
    return QDir(info.path()).filePath(info.completeBaseName());
}

bool ShowHelp(QWidget *owner, const QString &helpFilePath, int context)
{
    const QString folder = HelpFolderOf(helpFilePath);
    QString page = QStringLiteral("index.html");
    if (context != 0) {
        const auto contexts = HelpTable(folder, QStringLiteral("contexts.txt"));
        if (!contexts || !contexts->Contains(quint32(context)))
            return false;
        page = contexts->Text(quint32(context)).trimmed();
    }
    const QString anchor = page.section(QLatin1Char('#'), 1);
    const QString pagePath = QDir(folder).filePath(page.section(QLatin1Char('#'), 0, 0));
    if (!QFileInfo(pagePath).isFile())
        return false;
    QTextBrowser *browser = Browser(owner);
    QUrl url = QUrl::fromLocalFile(pagePath);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    browser->setSource(url);
    browser->window()->setWindowTitle(browser->documentTitle().isEmpty() ? QStringLiteral("Help")
                                                                         : browser->documentTitle());
    Window()->show();
    Window()->raise();
    Window()->activateWindow();
    return true;
}

QWidget *HelpWindow()
{
    return Window();
}

void SetApplicationHelpFile(const QString &helpFilePath)
{
    AppHelpFile() = helpFilePath;
}

QString ApplicationHelpFile()
{
    return AppHelpFile();
}

QString WhatsThisText(const QString &helpFilePath, int helpId)
{
    if (helpId == 0 || helpFilePath.isEmpty())
        return {};
    const auto popups = HelpTable(HelpFolderOf(helpFilePath), QStringLiteral("popups.txt"));
    return popups ? popups->Text(quint32(helpId)) : QString();
}

void SetWhatsThisHelpId(QWidget *widget, int helpId)
{
    if (!widget)
        return;
    widget->setProperty(kHelpIdProperty, helpId);
    widget->setWhatsThis(WhatsThisText(ApplicationHelpFile(), helpId));
}

int WhatsThisHelpId(const QWidget *widget)
{
    return widget ? widget->property(kHelpIdProperty).toInt() : 0;
}

void SetWhatsThisHelpIds(QWidget *form, std::span<const std::pair<const char *, int>> ids)
{
    for (const auto &[name, helpId] : ids)
        SetWhatsThisHelpId(form->findChild<QWidget *>(QString::fromLatin1(name)), helpId);
}

} // namespace qv::ui
