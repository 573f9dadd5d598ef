#include "SmartTagWizardState.h"

#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"

#include <algorithm>
#include <atomic>

namespace qv::smarttags {
namespace {

const QString kSmartTagNoun = QStringLiteral("Smart Tag");

std::shared_ptr<config::SmartTagSet> FirstSet(config::ConfigStore &oStore)
{
    if (auto oSet = oStore.SmartTagSets().Item(1))
        return oSet;
    return oStore.SmartTagSets().Add(oStore.Ids(), oStore.weak_from_this());
}

} // namespace

void SmartTagWizardState::Begin(const SmartTagWizardRequest &oRequest, bool bSkipWelcome)
{
    Q_ASSERT(oRequest.Store);
    m_oStore = oRequest.Store;
    const auto oSet = FirstSet(*m_oStore);
    m_oTag = oRequest.SmartTagId > 0 ? oSet->Item(oRequest.SmartTagId) : nullptr;
    m_bNew = !m_oTag;
    if (m_bNew)
        m_oTag = oSet->AddNew(NewGuidText());
    m_sOriginalName = m_oTag->Name;
    m_bSkipWelcome = bSkipWelcome;
    m_lStep = FirstStep();
    m_bChanged = false;
    m_bNameTyped = false;
    m_oResult = {true, m_oTag->Id()};
}

void SmartTagWizardState::Refetch()
{
    if (auto oTag = FirstSet(*m_oStore)->Item(m_oTag->Id()))
        m_oTag = std::move(oTag);
}

SmartTagWizardState::Buttons SmartTagWizardState::ButtonsOf(int lStep) const
{
    switch (lStep) {
    case StepWelcome: return {false, true, !m_bNew};
    case StepFinish: return {true, false, true};
    default: return {true, true, !m_bNew};
    }
}

void SmartTagWizardState::MarkChanged()
{
    if (!m_bLoading)
        m_bChanged = true;
}

Refusal SmartTagWizardState::ActionCheck() const
{
    return m_oTag->Actions.empty() ? Refusal{81417, {}} : Refusal{};
}

Refusal SmartTagWizardState::FieldCheck(const SmartTagChoices &oChoices) const
{
    return oChoices.FromDataView && oChoices.FieldName.isEmpty() ? Refusal{81418, {}} : Refusal{};
}

Refusal SmartTagWizardState::TermCheck() const
{
    const config::Recognizer &oRecognizer = m_oTag->Recognizer;
    return oRecognizer.DataViewId == 0 && oRecognizer.Included.Count() == 0 ? Refusal{81419, {}} : Refusal{};
}

Refusal SmartTagWizardState::NameCheck(const QString &sName) const
{
    if (sName.isEmpty())
        return {80005, kSmartTagNoun};
    if (sName == m_oTag->Name)
        return {};
    for (int lSet = 1; lSet <= m_oStore->SmartTagSets().Count(); ++lSet) {
        const auto oOther = m_oStore->SmartTagSets().Item(lSet)->ItemByName(sName);
        if (oOther && oOther != m_oTag)
            return {80004, kSmartTagNoun};
    }
    return {};
}

void SmartTagWizardState::WriteRecognizer(const SmartTagChoices &oChoices)
{
    config::Recognizer &oRecognizer = m_oTag->Recognizer;
    if (!oChoices.FromDataView) {
        oRecognizer.SetDataView(nullptr);
        return;
    }
    const auto oView = m_oStore->DataViewCollection().ItemByName(oChoices.DataViewName);
    oRecognizer.SetDataView(oView);
    if (oView && oView->Fields.Item(oChoices.FieldName))
        oRecognizer.SetFieldName(oChoices.FieldName);
}

void SmartTagWizardState::WriteTerms(const QStringList &colRows)
{
    config::TermList &colTerms = m_oTag->Recognizer.Included;
    while (colTerms.Count() > 0)
        colTerms.Remove(colTerms.Count());
    QStringList colSorted = colRows;
    std::stable_sort(colSorted.begin(), colSorted.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QString sLast;
    for (const QString &sTerm : std::as_const(colSorted)) {
        if (colTerms.Count() > 0 && sTerm.compare(sLast, Qt::CaseInsensitive) == 0)
            continue;
        colTerms.Add(sTerm);
        sLast = sTerm;
    }
}

Refusal SmartTagWizardState::LeaveStep(int lStep, const SmartTagChoices &oChoices)
{
    switch (lStep) {
    case StepActions: return ActionCheck();
    case StepRecognizer:
        if (const Refusal oRefusal = FieldCheck(oChoices))
            return oRefusal;
        WriteRecognizer(oChoices);
        return {};
    case StepTerms: WriteTerms(oChoices.Terms); return TermCheck();
    default: return {};
    }
}

Refusal SmartTagWizardState::Finish(const SmartTagChoices &oChoices)
{
    if (!m_bChanged) {
        m_oResult.Cancelled = true;
        return {};
    }
    const QString sName = m_bNameTyped ? oChoices.Name.trimmed() : m_oTag->Name;
    // Each step checks its own page, then those of the pages after it.
    Refusal oRefusal;
    if (m_lStep == StepActions)
        oRefusal = ActionCheck();
    if (!oRefusal && m_lStep == StepRecognizer)
        oRefusal = LeaveStep(StepRecognizer, oChoices);
    if (!oRefusal && m_lStep == StepTerms)
        WriteTerms(oChoices.Terms);
    if (!oRefusal && m_lStep >= StepActions && m_lStep <= StepTerms)
        oRefusal = TermCheck();
    if (!oRefusal && m_lStep >= StepActions)
        oRefusal = NameCheck(sName);
    if (oRefusal)
        return oRefusal;
    m_oTag->Name = sName;
    m_oTag->Description = oChoices.Description;
    m_oTag->Enabled = oChoices.Enabled;
    m_oResult = {false, m_oTag->Id()};
    return {};
}

QString SmartTagWizardState::ProposedName() const
{
    if (const auto oView = m_oTag->Recognizer.DataView())
        return oView->Name + QStringLiteral(" Smart Tag");
    const auto oFirst = m_oTag->ActionAt(1);
    const auto oView = oFirst ? m_oStore->DataViewCollection().Item(oFirst->DataViewId) : nullptr;
    return oView ? (oView->Name + u' ' + kSmartTagNoun).trimmed() : QString();
}

QString SmartTagWizardState::NextNewTerm()
{
    static std::atomic<int> lCounter{1};
    return QStringLiteral("(New Term %1)").arg(lCounter++);
}

} // namespace qv::smarttags
