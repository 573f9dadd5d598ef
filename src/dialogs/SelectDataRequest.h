#pragma once

#include "scripting/Collection.h"

#include <QString>

#include <memory>

namespace qv::ado {
class Recordset;
}
namespace qv::biz {
class Settings;
}
namespace qv::config {
class DataView;
}
namespace qv::data {
class DataViewDataServices;
}

namespace qv::dialogs {

// What a caller sets for one showing of the Insert Data dialog.
struct SelectDataRequest
{
    // The data view to show; none keeps the one of an earlier showing, or
    // lets the user pick (the picker is then shown).
    std::shared_ptr<config::DataView> oDataView;
    qint32 lDataViewType = 1; // 1 personal, 2 team
    std::shared_ptr<biz::Settings> oSettings;
    std::shared_ptr<Collection> colParagraphStyles;
    std::shared_ptr<Collection> colTableStyles;
    // A condition of the data view the host filters by (shown in the filter
    // row); 0 or below for none.
    qint32 lDisplayParam = -1;
    bool bForceDataView = false;
    bool bShowFormatControls = true;
    bool bShowSave = true;
    bool bCheckBoxes = true;
    QString sSelectedRowsXML;
    QString sFormCaption;
    bool bOffline = false;
    bool bDisableMenus = false;
    bool bDisableColReorder = false;
    qint32 lFormatType = 2;
    qint32 lInsertPosition = 2;
    // The services the rows come through; a private object when none.
    std::shared_ptr<data::DataViewDataServices> oServices;
};

// What one showing of the Insert Data dialog answers, built once when it
// closes.
class SelectDataResult
{
public:
    bool Cancelled() const { return m_bCancelled; }
    const std::shared_ptr<config::DataView> &DataView() const { return m_oDataView; }
    qint32 DataViewType() const { return m_lDataViewType; }
    // The choices as a settings object; none after Cancel.
    const std::shared_ptr<biz::Settings> &Settings() const { return m_oSettings; }
    const QString &Style() const { return m_sStyle; }
    // The chosen rows, formatted and raw; none after Cancel.
    const std::shared_ptr<ado::Recordset> &Selection() const { return m_oSelection; }
    const std::shared_ptr<ado::Recordset> &RawSelection() const { return m_oRawSelection; }

private:
    friend class SelectDataState;
    bool m_bCancelled = true;
    std::shared_ptr<config::DataView> m_oDataView;
    qint32 m_lDataViewType = -1;
    std::shared_ptr<biz::Settings> m_oSettings;
    QString m_sStyle;
    std::shared_ptr<ado::Recordset> m_oSelection;
    std::shared_ptr<ado::Recordset> m_oRawSelection;
};

} // namespace qv::dialogs
