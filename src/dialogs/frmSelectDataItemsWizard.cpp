// The Data View Wizard reached from Insert Data: a new data view, or the one
// shown, edited in its own configuration file.
#include "frmSelectDataItems.h"

#include "qvuser/DVUser.h"

#include "common/basDataViewPicker.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QPushButton>

namespace qv {

void frmSelectDataItems::LaunchDataViewWizard()
{
    if (!m_oState.CanFetch())
        return;
    SetTopmost(this, false);
    m_oState.DiscardUnsavedFilters(false);
    ResetFilterRow();
    const QString sKey = PickerKeyOf(icboDataView->currentIndex());
    const auto oShown = m_oState.DataView();
    const bool bNew = !oShown || sKey == QLatin1String(kNewDataView);
    const qint32 lKind = bNew ? 1 : (DataViewKeyKind(sKey) == 2 ? 2 : 1);
    // Without a personal file yet, the wizard opens the one the settings name.
    std::shared_ptr<config::ConfigStore> oStore = StoreOfKind(lKind);
    if (!oStore)
        oStore = config::ConfigStore::Create();
    DVUser oUser;
    const qint32 lId = oUser.InvokeWizardDataView(oStore, bNew ? QString() : QString::number(oShown->Id()));
    // The picker lists what the files hold now: the new or changed data view,
    // or, after a cancel, the shown one as it was.
    const qint32 lSelect = lId >= 1 ? lId : (oShown ? oShown->Id() : 0);
    m_oState.TakeDataView(nullptr, lKind);
    FillPicker(lSelect, lKind);
    if (m_oState.DataView()) {
        LoadSettings(true);
        PrepareFilterRow();
    }
    if (!m_oState.Settings())
        FillStyleList(QString());
    FetchRows([this] {
        UpdateControls();
        icboDataView->setFocus();
    });
}

} // namespace qv
