// The Insert Data dialog's data views and rows: the picker over both
// configuration stores, the first paint, and fetching and showing rows.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "ui/MousePointer.h"
#include "ui/ProgressDialog.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QPushButton>

namespace qv {

using namespace dialogs;

namespace {

// The progress window appears only when fetching takes this long.
constexpr int kProgressDelayMs = 4000;

} // namespace

std::shared_ptr<config::ConfigStore> frmSelectDataItems::StoreOfKind(qint32 lKind)
{
    return lKind == 2 ? m_oTeamStore : m_oPersonalStore;
}

void frmSelectDataItems::FillPicker(qint32 lId, qint32 lType)
{
    m_bForceDataView = true;
    const QString sPersonal = m_oConfigFileSettings->GetConfigFilePath(biz::ConfigFileSettings::Personal);
    if (!sPersonal.isEmpty()) {
        if (!m_oPersonalStore)
            m_oPersonalStore = config::ConfigStore::Create();
        m_oPersonalStore->Open(sPersonal);
    }
    // A team file that cannot be read leaves the picker with the personal
    // data views only.
    try {
        const QString sTeam = m_oConfigFileSettings->GetConfigFilePath(biz::ConfigFileSettings::Team);
        if (sTeam.isEmpty()) {
            m_oTeamStore.reset();
        } else {
            if (!m_oTeamStore)
                m_oTeamStore = config::ConfigStore::Create();
            m_oTeamStore->Open(sTeam);
        }
    } catch (...) {
        m_oTeamStore.reset();
    }
    icboDataView->clear();
    if (m_oPersonalStore && !sPersonal.isEmpty())
        AddDataViewItems(icboDataView, m_oPersonalStore->DataViewCollection(), 1);
    if (m_oTeamStore)
        AddDataViewItems(icboDataView, m_oTeamStore->DataViewCollection(), 2);
    // Here "(New Data View)" is its own key, so that it can be selected by key.
    const QString sNew = QString::fromLatin1(kNewDataView);
    icboDataView->insertItem(0, PickerImage(QString::fromLatin1(kImgLocal)), sNew);
    icboDataView->setItemData(0, sNew, kPickerKeyRole);
    icboDataView->setItemData(0, QString::fromLatin1(kImgLocal), kPickerImageRole);

    if (lType == -1)
        lType = m_lDataViewType;
    const qint32 lKind = lType == 2 ? 2 : 1;
    if (lId > 0 && SelectPickerKey(MakeDataViewKey(lId, lKind)) && !m_oDataView) {
        if (const auto oStore = StoreOfKind(lKind))
            TakeDataView(oStore->DataViewCollection().Item(lId), lKind);
    }
    if (!m_oDataView)
        SelectPickerKey(sNew);
}

QString frmSelectDataItems::PickerKeyOf(int index) const
{
    return PickerKey(icboDataView, index);
}

bool frmSelectDataItems::SelectPickerKey(const QString &sKey)
{
    const int index = FindPickerKey(icboDataView, sKey);
    if (index < 0)
        return false;
    icboDataView->setCurrentIndex(index);
    return true;
}

void frmSelectDataItems::TakeDataView(const std::shared_ptr<config::DataView> &oDataView, qint32 lType)
{
    m_oDataView = oDataView;
    m_lDataViewType = lType;
    m_bDataViewShown = false;
    m_lSettingsFilterId = 0;
    // The data view's own conditions are part of its definition and stay.
    m_colSavedFilters = oDataView ? ConditionKeys(*oDataView) : QSet<QString>();
}

void frmSelectDataItems::OnDataViewChosen()
{
    if (m_oDataView && icboDataView->currentText() == m_oDataView->Name)
        return;
    m_bHostRows = false;
    m_bChanged = false;
    ui::BusyPointer oBusy;
    DiscardUnsavedCustomFilters(false);
    ResetFilterRow();
    m_lInsertPosition = 2;
    m_lFormatType = 2;
    ApplyPositionAndLayout();

    const QString sKey = PickerKeyOf(icboDataView->currentIndex());
    std::shared_ptr<config::DataView> oChosen;
    if (sKey != QLatin1String(kNewDataView)) {
        const qint32 lKind = DataViewKeyKind(sKey);
        if (const auto oStore = StoreOfKind(lKind))
            oChosen = oStore->DataViewCollection().Item(DataViewKeyId(sKey));
        TakeDataView(oChosen, lKind);
        LoadSettings(true);
    } else {
        TakeDataView(nullptr, m_lDataViewType);
        std::shared_ptr<config::DataView> oNone;
        m_oViewer->SetDataView(oNone, QString(), true, true);
    }

    m_bLoading = true;
    PrepareFilterRow();
    FetchAndShowRows();
    m_bLoading = false;
    UpdateControls();
    m_bChanged = false;
    UpdateSaveState();
    if (m_oViewer->RecordCount() == 0)
        icboDataView->setFocus();
}

void frmSelectDataItems::OnFirstPaint()
{
    m_bLoading = true;
    LayoutControls();
    try {
        if (m_oDataView) {
            PrepareFilterRow();
            FetchAndShowRows();
        }
    } catch (...) {
        m_bLoading = false;
        throw;
    }
    m_bLoading = false;
    UpdateControls();
    UpdateSaveState();
}

std::shared_ptr<data::DataViewDataServices> frmSelectDataItems::Services()
{
    if (!m_oServices)
        m_oServices = std::make_shared<data::DataViewDataServices>();
    return m_oServices;
}

void frmSelectDataItems::StartProgress(const QString &sMessage)
{
    m_oProgress = std::make_unique<ui::ProgressDialog>(this);
    m_oProgress->SetCaption(windowTitle());
    m_oProgress->SetMessage(sMessage);
    connect(Services().get(), &data::DataViewDataServices::Fetching, m_oProgress.get(), &ui::ProgressDialog::SetValue);
    connect(m_oProgress.get(), &ui::ProgressDialog::Cancelled, this, [this] {
        if (m_oServices)
            m_oServices->Cancel();
        if (!m_bFetchingValues)
            m_oViewer->Cancel();
    });
    m_oProgress->ShowAfter(kProgressDelayMs);
    m_bFetching = true;
}

void frmSelectDataItems::EndProgress()
{
    m_bFetching = false;
    if (m_oProgress) {
        m_oProgress->Close();
        disconnect(Services().get(), nullptr, m_oProgress.get(), nullptr);
        m_oProgress.reset();
    }
}

void frmSelectDataItems::FetchAndShowRows()
{
    if (!m_oDataView)
        return;
    StartProgress(QString::fromLatin1(kRetrievingData));
    bool bCancelled = false;
    try {
        // Rows the host handed over are shown as they are.
        if (!m_bHostRows || !m_oDataView->Recordset)
            Services()->FillDataView(m_oDataView);
        bCancelled = Services()->Cancelled();
    } catch (...) {
        EndProgress();
        UpdateControls();
        throw;
    }
    m_bFetching = false;
    UpdateControls();
    try {
        ShowRows(bCancelled);
    } catch (...) {
        EndProgress();
        throw;
    }
    EndProgress();
}

void frmSelectDataItems::ShowRows(bool bCancelled)
{
    ui::BusyPointer oBusy(ui::pointer::ArrowHourglass);
    m_lDisplayed = 0;
    if (!bCancelled) {
        if (m_oSettings)
            m_oViewer->SetDataviewerColumnsSettings(m_oSettings->Columns);
        auto oDataView = m_oDataView;
        m_oViewer->SetDataView(oDataView, m_sSelectedRowsXML, m_bDisableMenus, m_bDisableColReorder);
        if (oDataView)
            m_oDataView = oDataView;
    }
    cmdApplyFilter->setEnabled(false);
    m_bDataViewShown = !bCancelled && !m_oViewer->Cancelled();
    UpdateStatus();
    emit RowsShown();
}

} // namespace qv
