#include "DemoDataMenu.h"

#include "DemoWindow.h"
#include "HostServices.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/config/ConfigStore.h"

#include <qvuser/DVUser.h>

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>

#include <algorithm>

#include <cstdio>
#include <exception>

namespace qvdemo {

namespace {
constexpr int32_t kPreviewRows = 5;
} // namespace

DemoDataMenu::DemoDataMenu(DemoWindow *window, HostServices *host)
    : QObject(window), m_window(window), m_host(host), m_oDVUser(std::make_unique<DVUser>())
{
    BuildMenu();
}

DemoDataMenu::~DemoDataMenu() = default;

void DemoDataMenu::BuildMenu()
{
    QMenu *mnuData = m_window->menuBar()->addMenu(QStringLiteral("&Data"));
    mnuData->setObjectName(QStringLiteral("mnuData"));
    QAction *mnuInsertData = mnuData->addAction(QStringLiteral("&Insert Data..."));
    mnuInsertData->setObjectName(QStringLiteral("mnuInsertData"));
    connect(mnuInsertData, &QAction::triggered, this, [this] { InsertData(nullptr); });

    QMenu *mnuViewData = mnuData->addMenu(QStringLiteral("&View Data"));
    mnuViewData->setObjectName(QStringLiteral("mnuViewData"));
    connect(mnuViewData, &QMenu::aboutToShow, this, [this, mnuViewData] {
        FillDataViewMenu(mnuViewData, [this](auto oDataView) { ViewData(oDataView, 0); });
    });
    QMenu *mnuPreviewData = mnuData->addMenu(QStringLiteral("&Preview Data"));
    mnuPreviewData->setObjectName(QStringLiteral("mnuPreviewData"));
    connect(mnuPreviewData, &QMenu::aboutToShow, this,
            [this, mnuPreviewData] {
                FillDataViewMenu(mnuPreviewData, [this](auto oDataView) { ViewData(oDataView, kPreviewRows); });
            });
    mnuData->addSeparator();
    QAction *mnuNewDataView = mnuData->addAction(QStringLiteral("&New Data View..."));
    mnuNewDataView->setObjectName(QStringLiteral("mnuNewDataView"));
    connect(mnuNewDataView, &QAction::triggered, this, [this] { RunDataViewWizard(nullptr); });
    QMenu *mnuEditDataView = mnuData->addMenu(QStringLiteral("&Edit Data View"));
    mnuEditDataView->setObjectName(QStringLiteral("mnuEditDataView"));
    connect(mnuEditDataView, &QMenu::aboutToShow, this, [this, mnuEditDataView] {
        FillDataViewMenu(mnuEditDataView, [this](auto oDataView) { RunDataViewWizard(oDataView); });
    });
    QAction *mnuNewSmartTag = mnuData->addAction(QStringLiteral("New &Smart Tag..."));
    mnuNewSmartTag->setObjectName(QStringLiteral("mnuNewSmartTag"));
    connect(mnuNewSmartTag, &QAction::triggered, this, [this] { RunSmartTagWizard(); });
    QAction *mnuDataViewManager = mnuData->addAction(QStringLiteral("Data View &Manager..."));
    mnuDataViewManager->setObjectName(QStringLiteral("mnuDataViewManager"));
    connect(mnuDataViewManager, &QAction::triggered, this, [this] { OpenManager(); });
    QAction *mnuTeamConfiguration = mnuData->addAction(QStringLiteral("&Team Configuration File..."));
    mnuTeamConfiguration->setObjectName(QStringLiteral("mnuTeamConfiguration"));
    connect(mnuTeamConfiguration, &QAction::triggered, this, [this] { ChooseTeamFile(); });
}

QString DemoDataMenu::ChooseTeamFile()
{
    // The library shows its own errors and stores the file as the team's.
    QObject *oWordServices = m_host;
    return m_oDVUser->InvokeWizardCreateOrFindConfig(oWordServices, Team, QString());
}

int32_t DemoDataMenu::RunSmartTagWizard()
{
    // The library shows its own errors; the host object gives it the editor's styles.
    QObject *oWordServices = m_host;
    std::shared_ptr<qv::config::ConfigStore> oStore = PersonalStore();
    return m_oDVUser->InvokeWizardSmartTag(oWordServices, oStore, QString());
}

void DemoDataMenu::OpenManager()
{
    // The library shows its own errors here; the host object tells it the editor's version.
    QObject *oWordServices = m_host;
    m_oDVUser->VisualSmartTagConfig(oWordServices);
}

void DemoDataMenu::FillDataViewMenu(QMenu *menu,
                                    const std::function<void(std::shared_ptr<qv::config::DataView>)> &act)
{
    menu->clear();
    std::shared_ptr<qv::config::ConfigStore> oStore = PersonalStore();
    if (!oStore || oStore->DataViewCollection().Count() == 0) {
        menu->addAction(QStringLiteral("(no data views in the personal configuration)"))->setEnabled(false);
        return;
    }
    // In the order of Insert Data's picker: by name, without regard to case.
    QList<std::shared_ptr<qv::config::DataView>> colDataViews;
    for (const auto &oDataView : oStore->DataViewCollection())
        colDataViews.append(oDataView);
    std::stable_sort(colDataViews.begin(), colDataViews.end(), [](const auto &a, const auto &b) {
        return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0;
    });
    for (const auto &oDataView : colDataViews) {
        QAction *action = menu->addAction(oDataView->Name.isEmpty() ? QStringLiteral("(Untitled)") : oDataView->Name);
        action->setObjectName(QStringLiteral("mnuDataView%1").arg(oDataView->Id()));
        connect(action, &QAction::triggered, this, [act, oDataView] { act(oDataView); });
    }
}

std::shared_ptr<qv::config::ConfigStore> DemoDataMenu::PersonalStore()
{
    try {
        const QString path = qv::biz::ConfigFileSettings().GetConfigFilePath(qv::biz::ConfigFileSettings::Personal);
        if (m_oStore && m_oStore->FilePath() == path)
            return m_oStore;
        auto oStore = qv::config::ConfigStore::Create();
        oStore->Open(path);
        m_oStore = oStore;
    } catch (const std::exception &e) {
        ReportFailure(QString::fromUtf8(e.what()));
    }
    return m_oStore;
}

std::shared_ptr<qv::config::DataView> DemoDataMenu::FindDataView(const QString &name)
{
    std::shared_ptr<qv::config::ConfigStore> oStore = PersonalStore();
    return oStore ? oStore->DataViewCollection().ItemByName(name) : nullptr;
}

bool DemoDataMenu::InsertData(std::shared_ptr<qv::config::DataView> oDataView)
{
    // From the menu the author always gets the picker, on the data view
    // used last (across restarts too) or, the first time, the first one.
    const bool bPicker = !oDataView;
    try {
        if (!oDataView)
            oDataView = LastDataView();
        return CallInsertData(oDataView, bPicker);
    } catch (const std::exception &e) {
        ReportFailure(QString::fromUtf8(e.what()));
    }
    return false;
}

std::shared_ptr<qv::config::DataView> DemoDataMenu::LastDataView()
{
    if (m_oLastDataView)
        return m_oLastDataView;
    const QString sKey = QSettings().value(QLatin1String(kLastDataViewKey)).toString();
    std::shared_ptr<qv::config::ConfigStore> oStore = sKey.isEmpty() ? nullptr : PersonalStore();
    if (!oStore)
        return nullptr;
    for (const auto &oDataView : oStore->DataViewCollection()) {
        if (oDataView->TextKey() == sKey)
            return oDataView;
    }
    return nullptr;
}

void DemoDataMenu::ViewData(std::shared_ptr<qv::config::DataView> oDataView, int32_t lPreview)
{
    try {
        CallViewData(oDataView, lPreview);
    } catch (const std::exception &e) {
        ReportFailure(QString::fromUtf8(e.what()));
    }
}

void DemoDataMenu::ReportFailure(const QString &text)
{
    m_window->ShowStatus(text);
    if (m_bConsole) {
        std::fprintf(stderr, "qvdemo: %s\n", qPrintable(text));
        return;
    }
    QMessageBox::warning(m_window, m_window->windowTitle(), text);
}

} // namespace qvdemo
