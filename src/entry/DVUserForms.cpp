// The members that show the Insert Data dialog and the View Data window and
// hand their results to the host.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "ado/Recordset.h"
#include "biz/Settings.h"
#include "data/DataViewDataServices.h"


using namespace qv;

namespace {

// A selection is handed over only when it holds rows.
std::shared_ptr<ado::Recordset> RowsOrNothing(std::shared_ptr<ado::Recordset> oRows)
{
    if (!oRows || oRows->RecordCount() == 0)
        return nullptr;
    return oRows;
}

} // namespace

// Closes a form that may still be in its modal loop, so that the loop ends
// before the form goes; a hidden form is simply destroyed.
template<typename Form>
void entry::Unload(std::unique_ptr<Form> &oForm)
{
    if (!oForm)
        return;
    if (!oForm->isVisible()) {
        oForm.reset();
        return;
    }
    oForm->close();
    oForm.release()->deleteLater();
}
template void entry::Unload(std::unique_ptr<frmMain> &);

bool DVUser::InsertDataCancelled() const
{
    return d->oSelectForm ? d->oSelectForm->Result().Cancelled() : false;
}

std::shared_ptr<config::DataView> DVUser::InsertDataView() const
{
    return d->oSelectForm ? d->oSelectForm->Result().DataView() : nullptr;
}

std::shared_ptr<ado::Recordset> DVUser::InsertDataSelectionRS()
{
    return d->oSelectForm ? RowsOrNothing(d->oSelectForm->Result().Selection()) : nullptr;
}

std::shared_ptr<ado::Recordset> DVUser::InsertDataSelectionRawRS()
{
    return d->oSelectForm ? RowsOrNothing(d->oSelectForm->Result().RawSelection()) : nullptr;
}

std::shared_ptr<biz::Settings> DVUser::ShowSelectData(
    std::shared_ptr<config::DataView> &oDataView, const std::shared_ptr<biz::Settings> &oSettings,
    const std::shared_ptr<Collection> &colParaStyle, const std::shared_ptr<Collection> &colTableStyle,
    eConfigFileType DataViewType, int32_t lDisplayParam, bool bForceDataView, bool bShowFormatControls,
    bool bShowSave, bool bShowCheckboxes, const QString &sSelectedRowsXML, const QString &sFormCaption,
    bool bOffline, bool bDisableMenus, bool bDisableColReorder)
{
    // This member shows its errors with the source as raised.
    return entry::ShowErrorsOf(QString(), std::shared_ptr<biz::Settings>(), [&] {
        if (!d->oSelectForm)
            d->oSelectForm = std::make_unique<frmSelectDataItems>();
        d->oDataViewDS = entry::SharedDataServices();

        dialogs::SelectDataRequest oRequest;
        oRequest.oDataView = oDataView;
        oRequest.lDataViewType = DataViewType;
        oRequest.oSettings = oSettings;
        oRequest.colParagraphStyles = colParaStyle;
        oRequest.colTableStyles = colTableStyle;
        oRequest.lDisplayParam = lDisplayParam;
        oRequest.bForceDataView = bForceDataView;
        oRequest.bShowFormatControls = bShowFormatControls;
        oRequest.bShowSave = bShowSave;
        oRequest.bCheckBoxes = bShowCheckboxes;
        oRequest.sSelectedRowsXML = sSelectedRowsXML;
        oRequest.sFormCaption = sFormCaption;
        oRequest.bOffline = bOffline;
        oRequest.bDisableMenus = bDisableMenus;
        oRequest.bDisableColReorder = bDisableColReorder;
        oRequest.lFormatType = FormatTypeTableWithHeader;
        oRequest.lInsertPosition = InsertPositionAfter;
        oRequest.oServices = d->oDataViewDS;

        const dialogs::SelectDataResult &oResult = RunSelectData(*d->oSelectForm, oRequest);
        // The reference is left holding the data view the dialog showed.
        oDataView = oResult.DataView();
        return oResult.Cancelled() ? std::shared_ptr<biz::Settings>() : oResult.Settings();
    });
}

void DVUser::ShowViewData(std::shared_ptr<config::DataView> &oDataView, int32_t lPreview, int32_t,
                          const QString &sFormCaption)
{
    entry::ShowErrorsOf(QString(), 0, [&] {
        auto oForm = std::make_unique<frmViewDataItems>();
        d->oViewForm = oForm.get();
        d->oDataViewDS = entry::SharedDataServices();
        dialogs::ViewDataRequest oRequest;
        oRequest.oDataView = oDataView;
        oRequest.lPreview = lPreview;
        oRequest.sFormCaption = sFormCaption.isEmpty() ? QStringLiteral("Preview") : sFormCaption;
        oRequest.oServices = d->oDataViewDS;
        RunViewData(*oForm, oRequest);
        return 0;
    });
}

void DVUser::CloseForms()
{
    entry::Unload(d->oManagerForm);
    entry::Unload(d->oSelectForm);
    // The View Data window belongs to its ShowViewData call, which destroys
    // it once its modal loop has ended.
    if (d->oViewForm)
        d->oViewForm->close();
}
