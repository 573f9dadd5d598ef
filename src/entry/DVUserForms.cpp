// The members that show the Insert Data dialog and the View Data window and
// hand their results to the host.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "ado/Recordset.h"
#include "biz/Settings.h"
#include "data/DataViewDataServices.h"
#include "ui/Modal.h"

#include <QCoreApplication>

using namespace qv;

namespace {

// A selection is handed over only when it holds rows.
std::shared_ptr<ado::Recordset> RowsOrNothing(std::shared_ptr<ado::Recordset> oRows)
{
    if (!oRows || oRows->RecordCount() == 0)
        return nullptr;
    return oRows;
}

// Closes a form that may still be in its modal loop, so that the loop ends
// before the form goes; a hidden form is simply destroyed.
template<typename Form>
void Unload(std::unique_ptr<Form> &oForm)
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

} // namespace

bool DVUser::InsertDataCancelled() const
{
    return d->oSelectForm ? d->oSelectForm->Cancelled() : false;
}

std::shared_ptr<config::DataView> DVUser::InsertDataView() const
{
    return d->oSelectForm ? d->oSelectForm->DataView() : nullptr;
}

std::shared_ptr<ado::Recordset> DVUser::InsertDataSelectionRS()
{
    return d->oSelectForm ? RowsOrNothing(d->oSelectForm->GetSelection()) : nullptr;
}

std::shared_ptr<ado::Recordset> DVUser::InsertDataSelectionRawRS()
{
    return d->oSelectForm ? RowsOrNothing(d->oSelectForm->GetRawSelection()) : nullptr;
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
        frmSelectDataItems &oForm = *d->oSelectForm;
        d->oDataViewDS = entry::SharedDataServices();
        oForm.SetDataServices(d->oDataViewDS);

        // The order matters: later properties read earlier ones.
        oForm.SetSettings(oSettings);
        oForm.SetParagraphStyles(colParaStyle);
        oForm.SetTableStyles(colTableStyle);
        oForm.SetForceDataView(bForceDataView);
        oForm.SetShowFormatControls(bShowFormatControls);
        oForm.SetShowSave(bShowSave);
        oForm.SetCheckBoxes(bShowCheckboxes);
        oForm.SetDataViewParameterId(lDisplayParam);
        oForm.SetSelectedRowsXML(sSelectedRowsXML);
        oForm.SetDisableMenus(bDisableMenus);
        oForm.SetDisableSavedSettingsRestore(!bShowSave);
        oForm.SetDisableColReorder(bDisableColReorder);
        oForm.SetFormCaption(sFormCaption.isEmpty() ? QStringLiteral("Insert Data") : sFormCaption);
        oForm.SetOffline(bOffline);
        oForm.SetFormatType(FormatTypeTableWithHeader);
        oForm.SetInsertPosition(InsertPositionAfter);

        if (!oDataView) {
            // Nothing to show: the user has to pick a data view.
            std::shared_ptr<config::DataView> oNone;
            oForm.SetDataView(oNone, DataViewType);
            oForm.SetForceDataView(true);
        } else {
            oForm.SetDataView(oDataView, DataViewType);
        }

        oForm.Prepare();
        QCoreApplication::processEvents();
        ui::RunModal(oForm);
        if (oForm.Cancelled())
            return std::shared_ptr<biz::Settings>();
        return oForm.Settings();
    });
}

void DVUser::ShowViewData(std::shared_ptr<config::DataView> &oDataView, int32_t lPreview, int32_t,
                          const QString &sFormCaption)
{
    entry::ShowErrorsOf(QString(), 0, [&] {
        auto oForm = std::make_unique<frmViewDataItems>();
        d->oViewForm = oForm.get();
        d->oDataViewDS = entry::SharedDataServices();
        oForm->SetDataServices(d->oDataViewDS);
        if (oDataView)
            oForm->SetDataView(oDataView);
        oForm->SetPreview(lPreview);
        oForm->Prepare();
        oForm->SetFormCaption(sFormCaption.isEmpty() ? QStringLiteral("Preview") : sFormCaption);
        ui::RunModal(*oForm);
        return 0;
    });
}

void DVUser::CloseForms()
{
    Unload(d->oSelectForm);
    // The View Data window belongs to its ShowViewData call, which destroys
    // it once its modal loop has ended.
    if (d->oViewForm)
        d->oViewForm->close();
}
