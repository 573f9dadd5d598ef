// The filter page's value list: fetched once a field when the list opens.
#include "FilterPage.h"

#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "dialogs/SelectDataRules.h"
#include "dialogs/ValueListCombo.h"
#include "format/DataFormat.h"

#include <QComboBox>

namespace qv::wizard {
namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);
constexpr auto kPopulating = "Populating...";

} // namespace

void FilterPage::OnValueListOpening()
{
    if (m_bPageReady)
        m_bValueTouched = true;
    if (m_bValuesLoaded || (Context().Fetch && Context().Fetch->Busy()))
        return;
    m_bValuesLoaded = true;
    LoadFilterValues();
}

void FilterPage::LoadFilterValues()
{
    Q_ASSERT(Context().Services && Context().Fetch);
    const auto oField = ChosenField();
    if (!oField)
        return;
    const QString sKeep = cboFilterValue->currentText().isEmpty() ? QString::fromLatin1(dialogs::kBlank)
                                                                  : cboFilterValue->currentText();
    {
        const QSignalBlocker oBlock(cboFilterValue);
        cboFilterValue->clear();
        cboFilterValue->addItem(QString::fromLatin1(kPopulating));
        cboFilterValue->setCurrentIndex(0);
    }
    // Long texts offer no values to choose from.
    if (m_oFormat->IsMemo(oField->AdoType)) {
        ShowValues({}, sKeep);
        return;
    }
    const qint32 lKind = m_oFormat->ADOTypeToQuorivoFieldType(oField->AdoType);
    const QString sFormat = oField->ViewFormat;
    auto colValues = std::make_shared<QList<QString>>();
    auto oJob = Context().Services->StartValueList(
        Context().View, oField->Name, 0, true,
        [this, colValues, lKind, sFormat](std::shared_ptr<Dictionary> colKeys, bool) {
            for (const Variant &vKey : colKeys->Keys())
                *colValues << m_oFormat->GetFormattedDataForEdit(vKey.ToText(), lKind, sFormat);
        });
    // A cancelled list holds what had come, which is nothing but "(blank)".
    Context().Fetch->Run(oJob, ValueListTitle(oField->Name), QString::fromLatin1(dialogs::kRetrievingValueList),
                         [this, colValues, sKeep](data::DataJob &oEnded) {
                             ShowValues(*colValues, sKeep);
                             if (oEnded.Failed())
                                 HandleErrors([&] { std::rethrow_exception(oEnded.Failure()); }, kTitle);
                         });
}

void FilterPage::ShowValues(const QList<QString> &colValues, const QString &sKeep)
{
    const QSignalBlocker oBlock(cboFilterValue);
    cboFilterValue->clear();
    cboFilterValue->addItem(QString::fromLatin1(dialogs::kBlank));
    cboFilterValue->addItems(colValues);
    cboFilterValue->setEditText(sKeep);
}

} // namespace qv::wizard
