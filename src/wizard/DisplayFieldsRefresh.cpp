// The display-field page's refresh: the data view's fields brought in line
// with its source before the page shows.
#include "DisplayFieldsPage.h"

#include "DisplayFieldRules.h"
#include "biz/FieldKinds.h"
#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "ui/MessageBox.h"

namespace qv::wizard {
namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);
constexpr auto kRetrievingFields = "Retrieving the field list...";

QList<FieldSignature> SignaturesOf(const config::DataView &oView)
{
    QList<FieldSignature> colFields;
    for (const auto &oField : oView.Fields)
        colFields << FieldSignature{oField->Name, oField->AdoType};
    return colFields;
}

} // namespace

void DisplayFieldsPage::RefreshFields(std::function<void(bool bOk)> done)
{
    Q_ASSERT(done && Context().View && Context().State && Context().Services && Context().Fetch);
    Q_ASSERT(!Context().Fetch->Busy());
    const bool bExisting = !Context().State->NewDataView();
    // An existing data view whose source failed once keeps its stored fields.
    if (bExisting && Context().State->SourceUnavailable()) {
        done(true);
        return;
    }
    const config::DataView &oView = *Context().View;
    auto oScratch = std::make_shared<config::DataView>(0, std::make_shared<config::IdSource>(),
                                                       std::weak_ptr<config::ConfigStore>());
    oScratch->Source = oView.Source;
    oScratch->DataItemName = oView.DataItemName;
    oScratch->DataItemKind = oView.DataItemKind;
    std::shared_ptr<data::DataJob> oJob;
    if (!HandleErrors([&] { oJob = Context().Services->StartLoadFields(oScratch); }, kTitle)) {
        done(false);
        return;
    }
    Context().Fetch->Run(oJob, kTitle, QString::fromLatin1(kRetrievingFields),
                         [this, oScratch, bExisting, done](data::DataJob &oEnded) {
                             if (oEnded.WasCancelled()) {
                                 done(false);
                                 return;
                             }
                             if (oEnded.Failed()) {
                                 HandleErrors([&] { std::rethrow_exception(oEnded.Failure()); }, kTitle);
                                 if (bExisting)
                                     Context().State->SetSourceUnavailable();
                                 done(bExisting);
                                 return;
                             }
                             done(HandleErrors([&] { ApplySourceFields(*oScratch, bExisting); }, kTitle));
                         });
}

void DisplayFieldsPage::ApplySourceFields(const config::DataView &oSource, bool bExisting)
{
    config::DataView &oView = *Context().View;
    const FieldChanges oChanges = CompareFields(SignaturesOf(oView), SignaturesOf(oSource));
    if (!oChanges.Any())
        return;
    if (bExisting) {
        QStringList colDisplayNames;
        for (const QString &sName : oChanges.Removed)
            colDisplayNames << oView.Fields.Item(sName)->DisplayName;
        ReportRemovedFields(colDisplayNames);
    }
    for (const QString &sName : oChanges.Removed)
        oView.Fields.Remove(sName);
    for (const FieldSignature &oAdded : oChanges.Added) {
        const auto oField = oView.Fields.Add(oAdded.Name);
        oField->DisplayName = oAdded.Name;
        oField->Displayed = false;
        oField->AdoType = oAdded.AdoType;
        biz::GiveFieldKind(*oField);
    }
    oView.DropRows();
    m_bFieldsChanged = true;
}

void DisplayFieldsPage::ReportRemovedFields(const QStringList &colDisplayNames)
{
    if (colDisplayNames.isEmpty())
        return;
    ShowMessage(LoadResString(81331, {RemovedFieldsText(colDisplayNames)}), kTitle, ui::mb::Exclamation);
}

} // namespace qv::wizard
