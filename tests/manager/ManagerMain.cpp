#include "TestMain.h"

#include "config/ConfigStore.h"
#include "manager/frmMain.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QTest>
#include <QTreeView>

#include <cstdio>

namespace qv::test {

bool NeedsGuiApplication()
{
    return true;
}

namespace {

std::shared_ptr<config::ConfigStore> OpenStore(const QString &path)
{
    auto store = config::ConfigStore::Create();
    store->Open(path);
    return store;
}

// A second manager process on the same files: opens on the team's "Data
// Views" folder, waits for the clipboard to offer data views (another
// process serves them) and pastes them there. Prints the list it then shows.
// With an empty personal path it shows the team file alone, so that the
// data views come from the copies the clipboard carries.
int PasteIntoTeam(const QString &personalPath, const QString &teamPath)
{
    ui::SetMessageBoxHandler(std::make_shared<ui::MessageRecorder>());
    frmMain form;
    form.ShowSmartTagView({nullptr, personalPath.isEmpty() ? nullptr : OpenStore(personalPath), OpenStore(teamPath),
                           personalPath, teamPath, 2, 2, -1, {}});
    const QAbstractItemModel *list = form.findChild<QTreeView *>(QStringLiteral("lvDetails"))->model();
    const int before = list->rowCount();
    QAction *paste = form.findChild<QAction *>(QStringLiteral("mnuEditPaste"));
    const QDeadlineTimer deadline(30000);
    while (!paste->isEnabled() && !deadline.hasExpired())
        QTest::qWait(50);
    if (!paste->isEnabled()) {
        std::fprintf(stderr, "the clipboard offered no data views\n");
        return 2;
    }
    form.RunCommand(QStringLiteral("Paste"));
    for (int row = 0; row < list->rowCount(); ++row)
        std::printf("item\t%s\n", qPrintable(list->index(row, 0).data().toString()));
    return list->rowCount() > before ? 0 : 3;
}

} // namespace

// "add-view PATH NAME": another program adds a data view to a configuration file and saves it.
// "paste-into-team PERSONAL TEAM": another manager process pastes what the clipboard holds.
int RunChild(const QStringList &arguments)
{
    if (arguments.value(0) == QLatin1String("paste-into-team") && arguments.size() == 3)
        return PasteIntoTeam(arguments[1], arguments[2]);
    if (arguments.value(0) != QLatin1String("add-view") || arguments.size() != 3)
        return -1;
    auto store = config::ConfigStore::Create();
    store->Open(arguments[1]);
    store->DataViewCollection().AddBlank()->Name = arguments[2];
    store->Save();
    return 0;
}

} // namespace qv::test
