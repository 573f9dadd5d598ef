// The Insert Data dialog's data views and rows: the picker over both
// configuration stores, the first paint, and fetching and showing rows.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/FetchRunner.h"
#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "ui/MousePointer.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>

namespace qv {

using namespace dialogs;

namespace {

const QString kTitle = QString::fromLatin1(kTitleDataViews);

} // namespace

std::shared_ptr<config::ConfigStore> frmSelectDataItems::StoreOfKind(qint32 lKind)
{
    return lKind == 2 ? m_oTeamStore : m_oPersonalStore;
}

void frmSelectDataItems::FillPicker(qint32 lId, qint32 lType)
{
    m_oState.SetShowPicker(true);
    const biz::ConfigFileSettings &oFiles = m_oState.ConfigFileSettings();
    const QString sPersonal = oFiles.GetConfigFilePath(biz::ConfigFileSettings::Personal);
    if (!sPersonal.isEmpty()) {
        if (!m_oPersonalStore)
            m_oPersonalStore = config::ConfigStore::Create();
        m_oPersonalStore->Open(sPersonal);
    }
    // A team file that cannot be read leaves the picker with the personal
    // data views only.
    try {
        const QString sTeam = oFiles.GetConfigFilePath(biz::ConfigFileSettings::Team);
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
        lType = m_oState.DataViewType();
    const qint32 lKind = lType == 2 ? 2 : 1;
    if (lId > 0 && SelectPickerKey(MakeDataViewKey(lId, lKind)) && !m_oState.DataView()) {
        if (const auto oStore = StoreOfKind(lKind))
            m_oState.TakeDataView(oStore->DataViewCollection().Item(lId), lKind);
    }
    // Never an empty "(New Data View)" when there are data views: the first.
    if (!m_oState.DataView() && icboDataView->count() > 1) {
        const QString sFirst = PickerKeyOf(1);
        if (const auto oStore = StoreOfKind(DataViewKeyKind(sFirst))) {
            icboDataView->setCurrentIndex(1);
            m_oState.TakeDataView(oStore->DataViewCollection().Item(DataViewKeyId(sFirst)), DataViewKeyKind(sFirst));
        }
    }
    if (!m_oState.DataView())
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

void frmSelectDataItems::OnDataViewChosen()
{
    if (!m_oState.CanFetch())
        return;
    const auto &oCurrent = m_oState.DataView();
    if (oCurrent && icboDataView->currentText() == oCurrent->Name)
        return;
    ui::BusyPointer oBusy;
    m_oState.DiscardUnsavedFilters(false);
    ResetFilterRow();
    m_oState.SetLayout(2, 2);
    ApplyPositionAndLayout();

    const QString sKey = PickerKeyOf(icboDataView->currentIndex());
    if (sKey != QLatin1String(kNewDataView)) {
        const qint32 lKind = DataViewKeyKind(sKey);
        std::shared_ptr<config::DataView> oChosen;
        if (const auto oStore = StoreOfKind(lKind))
            oChosen = oStore->DataViewCollection().Item(DataViewKeyId(sKey));
        m_oState.TakeDataView(oChosen, lKind);
        LoadSettings(true);
        // Without saved choices the styles start afresh with the layout.
        if (!m_oState.Settings())
            FillStyleList(QString());
    } else {
        m_oState.TakeDataView(nullptr, m_oState.DataViewType());
        FillStyleList(QString());
        std::shared_ptr<config::DataView> oNone;
        m_oViewer->SetDataView(oNone, QString(), true, true);
    }
    PrepareFilterRow();
    FetchRows([this] {
        m_oState.ClearChanged();
        UpdateControls();
        if (m_oViewer->RecordCount() == 0)
            icboDataView->setFocus();
    });
}

void frmSelectDataItems::OnFirstShow()
{
    LayoutControls();
    if (!m_oState.DataView()) {
        m_oState.SetRowsPending(false);
        UpdateControls();
        return;
    }
    PrepareFilterRow();
    FetchRows();
}

void frmSelectDataItems::FetchRows(std::function<void()> then)
{
    const auto oDataView = m_oState.DataView();
    // Rows the host handed over are shown as they are.
    if (!oDataView || (m_oState.HostRows() && oDataView->Recordset)) {
        if (oDataView)
            ShowRows(false);
        m_oState.SetRowsPending(false);
        UpdateControls();
        if (then)
            then();
        return;
    }
    if (!m_oState.CanFetch())
        return;
    auto oJob = Services()->StartFillDataView(oDataView);
    m_oState.FetchStarted(SelectDataState::Fetch::Rows);
    UpdateControls();
    m_oFetch->Run(oJob, windowTitle(), QString::fromLatin1(kRetrievingData), [this, then](data::DataJob &oJob) {
        m_oState.FetchEnded();
        if (oJob.Failed()) {
            ShowFailedLoad();
            OnLoadFailed(oJob.Failure());
            return;
        }
        HandleErrors([&] {
            ShowRows(oJob.WasCancelled());
            if (then)
                then();
        }, kTitle);
        UpdateControls();
    });
}

void frmSelectDataItems::ShowFailedLoad()
{
    // Nothing of an earlier data view may stay under this one's name, and
    // the user must be able to pick another.
    std::shared_ptr<config::DataView> oNone;
    m_oViewer->SetDataView(oNone, QString(), true, true);
    m_oState.SetDisplayed(0);
    m_oState.SetShowPicker(true);
    if (icboDataView->count() == 0)
        HandleErrors([this] {
            const auto &oDataView = m_oState.DataView();
            FillPicker(oDataView ? oDataView->Id() : 0, m_oState.DataViewType());
        }, kTitle);
    LayoutControls();
    sbrStatusBar->clearMessage();
    UpdateControls();
    icboDataView->setFocus();
}

void frmSelectDataItems::ShowRows(bool bCancelled)
{
    ui::BusyPointer oBusy(ui::pointer::ArrowHourglass);
    m_oState.SetDisplayed(0);
    if (!bCancelled) {
        const SelectDataRequest &oRequest = m_oState.Request();
        if (const auto &oSettings = m_oState.Settings())
            m_oViewer->SetDataviewerColumnsSettings(oSettings->Columns);
        auto oDataView = m_oState.DataView();
        m_oViewer->SetEmptyText(m_oState.EmptyListText());
        m_oViewer->SetDataView(oDataView, oRequest.sSelectedRowsXML, oRequest.bDisableMenus,
                               oRequest.bDisableColReorder);
    }
    // A single row is ticked for the user once, when it arrives.
    const SelectControls oControls =
        m_oState.Controls(m_oViewer->RecordCount(), m_oViewer->SelectionCount(), cboOperator->count());
    if (oControls.oButtons.bTickOnlyRow)
        m_oViewer->SelectAll();
    m_oState.SetApplyWanted(m_oState.FilterApplied());
    UpdateStatus();
    UpdateControls();
    // The full count may still run beside the rows: the status gives it when it comes.
    const auto oDataView = m_oState.DataView();
    m_oFetch->WhenReady([oDataView] { return !CountPending(oDataView); }, [this] { UpdateStatus(); });
    emit RowsShown();
}

} // namespace qv
