// The wizard's work on the working data view's source: applying a source
// after testing it, listing data items, refreshing fields, and making the
// working data view itself.
#include "frmDataViewWizard.h"

#include "DisplayFieldsPage.h"
#include "WizardPages.h"

#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "ui/MessageBox.h"

namespace qv {

using namespace wizard;

namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);

} // namespace

void frmDataViewWizard::CreateWorkingDataView(const QString &sTemplateName)
{
    config::DataViews &colViews = m_oContext.Store->DataViewCollection();
    const bool bTemplate = !sTemplateName.isEmpty();
    if (bTemplate && sTemplateName == m_sBaseName && m_oContext.View)
        return;
    if (!bTemplate && m_oContext.View && !m_oState.Reload())
        return;
    if (bTemplate)
        m_oState.MarkChanged();
    if (m_oContext.View)
        colViews.Remove(m_oContext.View->Id());
    m_oState.SetReload(true);
    m_oState.SetNameEdited(false);
    if (!bTemplate) {
        m_oContext.View = colViews.AddBlank();
        m_sBaseName.clear();
    } else {
        const auto oTemplate = colViews.ItemByName(sTemplateName);
        if (!oTemplate)
            RaiseError(kErrorNoSuchDataView, QStringLiteral("frmDataViewWizard.CreateWorkingDataView"),
                       QStringLiteral("The data view \"%1\" is no longer in the configuration file.")
                           .arg(sTemplateName));
        m_oContext.View = colViews.Copy(oTemplate->Id(), sTemplateName);
        m_sBaseName = sTemplateName;
        m_oState.SetSource(SourceTypeOfKind(m_oContext.View->Source.Kind));
        m_oLocation->SetLocation(GetLocationFromDataView(*m_oContext.View));
    }
    m_oFinish->Fill(m_sBaseName);
    m_sLastConnection = m_oContext.View->Source.ConnectionText;
}

void frmDataViewWizard::CommitDataSource(const Then &then)
{
    const DataSourceEntry *oEntry = m_oDataSource->SelectedEntry();
    if (!oEntry) {
        then(false);
        return;
    }
    SourceType eType = SourceType::System;
    const bool bFileOrFolder = SourceTypeOfKey(oEntry->Key, eType);
    // The same file or folder kind again keeps its location.
    if (bFileOrFolder && eType == m_oState.Source() && !m_oContext.View->Source.ConnectionText.isEmpty()) {
        then(true);
        return;
    }
    m_oState.MarkChanged();
    const Then applied = [this, eType, then](bool bOk) {
        if (bOk) {
            m_oState.SetSource(eType);
            if (!m_oState.NewDataView() && m_oContext.View->Source.ConnectionText != m_sLastConnection) {
                m_sLastConnection = m_oContext.View->Source.ConnectionText;
                m_oState.SetReload(true);
            }
        }
        then(bOk);
    };
    if (!bFileOrFolder) {
        const QString sLocation = LocationOfKey(oEntry->Key);
        m_oLocation->SetLocation(sLocation);
        ApplyDataSource(SourceType::System, sLocation, applied);
        return;
    }
    if (m_eDirection == Direction::Next || m_oState.NewDataView()) {
        // The location is chosen on the next page.
        m_oLocation->SetLocation(QString());
        m_oState.SetReload(true);
        m_oState.SetSource(eType);
        then(true);
        return;
    }
    ApplyDataSource(eType, GetLocationFromDataView(*m_oContext.View), applied);
}

void frmDataViewWizard::CommitLocation(const Then &then)
{
    ApplyDataSource(m_oState.Source(), m_oLocation->Location(), [this, then](bool bOk) {
        if (bOk && m_oContext.View->Source.ConnectionText != m_sLastConnection) {
            m_oState.MarkChanged();
            m_sLastConnection = m_oContext.View->Source.ConnectionText;
            m_oState.SetReload(true);
        }
        then(bOk);
    });
}

void frmDataViewWizard::ApplyDataSource(SourceType eType, const QString &sLocation, const Then &then)
{
    const qint32 lCode = SourceTypeCode(eType);
    if (eType == SourceType::Outlook) {
        config::DataView &oView = *m_oContext.View;
        if (IsContactOrTaskFolder(oView.Source.ConnectionText)) {
            oView.DataItemName = sLocation;
            oView.DataItemKind = 4;
            then(true);
            return;
        }
        if (m_eDirection == Direction::Next)
            ShowMessage(LoadResString(80006), kTitle, ui::mb::Critical);
        else
            ShowMessage(QStringLiteral("The existing data view can not have this type of data source\r\n\r\n"
                                       "Please select another type of data source or go through the next steps to "
                                       "create a new data view"),
                        kTitle, ui::mb::OkOnly);
        then(false);
        return;
    }
    // A source that fails its test keeps the page; the test says nothing of its own.
    const QString sText = m_oServices->GetConnectionString(lCode, sLocation, QString(), QString());
    m_oContext.Fetch->Run(m_oServices->StartTestConnection(lCode, sText), kTitle,
                          QStringLiteral("Opening the data source..."),
                          [this, lCode, sLocation, then](data::DataJob &oJob) {
                              if (oJob.Failed() || oJob.WasCancelled()) {
                                  then(false);
                                  return;
                              }
                              const QString sBefore = m_oContext.View->Source.ConnectionText;
                              m_oServices->SetDataSource(m_oContext.View, lCode, sLocation, QString(), QString(),
                                                         true);
                              m_oState.SetReload(true);
                              // Another source is listed afresh, whatever the last one did.
                              if (m_oContext.View->Source.ConnectionText != sBefore)
                                  m_oState.SetSourceUnavailable(false);
                              then(true);
                          });
}

void frmDataViewWizard::ListDataItems(const std::function<void(bool, QStringList)> &then)
{
    const QString sOwnItem = m_oContext.View->DataItemName;
    const auto fallBack = [sOwnItem, then] {
        then(false, sOwnItem.isEmpty() ? QStringList() : QStringList{sOwnItem});
    };
    if (m_oState.SourceUnavailable() && !m_oState.NewDataView()) {
        fallBack();
        return;
    }
    auto colNames = std::make_shared<QStringList>();
    m_oContext.Fetch->Run(
        m_oServices->StartDataItems(m_oContext.View, [colNames](QStringList colItems) { *colNames = colItems; },
                                    data::DataViewDataServices::ItemOrder::ByName),
        kTitle, QStringLiteral("Listing the data items..."), [this, colNames, then, fallBack](data::DataJob &oJob) {
            if (oJob.WasCancelled()) {
                fallBack();
                return;
            }
            if (oJob.Failed()) {
                // One error box: later listings of this source stay quiet.
                if (!m_oState.SourceUnavailable())
                    HandleErrors([&] { std::rethrow_exception(oJob.Failure()); }, kTitle);
                m_oState.SetSourceUnavailable(true);
                fallBack();
                return;
            }
            m_oState.SetSourceUnavailable(false);
            then(true, *colNames);
        });
}

void frmDataViewWizard::PopulateDataItems(const Then &then)
{
    ListDataItems([this, then](bool bListed, const QStringList &colNames) {
        m_oDataItem->ShowItems(colNames);
        then(bListed);
    });
}

void frmDataViewWizard::CheckDataItemExists(const Then &then)
{
    ListDataItems([this, then](bool, const QStringList &colNames) {
        if (colNames.isEmpty()) {
            ShowMessage(LoadResString(81330), kTitle, ui::mb::Critical);
            then(false);
            return;
        }
        if (m_eDirection == Direction::Finish && !colNames.contains(m_oContext.View->DataItemName)) {
            ShowMessage(QStringLiteral("The data item(tables, Queries, views) in the dataview doesn't exist in this "
                                       "data source.\r\n\r\nPlease specify another data source or go through the "
                                       "following steps to select a different data item."),
                        kTitle, ui::mb::Critical);
            then(false);
            return;
        }
        then(true);
    });
}

void frmDataViewWizard::RefreshFields(const Then &then)
{
    static_cast<DisplayFieldsPage *>(Page(Step::DisplayFields))->RefreshFields(then);
}

} // namespace qv
