#include "DataViewWizardState.h"

#include "common/basErrorHandling.h"

namespace qv::wizard {

SourceType SourceTypeOfKind(qint32 lKind)
{
    switch (lKind) {
    case 1: return SourceType::Outlook;
    case 4: return SourceType::Excel;
    case 6: return SourceType::Access;
    default: return SourceType::System;
    }
}

QString SourceTypeText(SourceType eType)
{
    switch (eType) {
    case SourceType::Access: return QStringLiteral("ACCESS");
    case SourceType::Excel: return QStringLiteral("EXCEL");
    case SourceType::Outlook: return QStringLiteral("OUTLOOK");
    case SourceType::System: break;
    }
    return QStringLiteral("SYSTEM");
}

void DataViewWizardState::Begin(bool bNewDataView, bool bSkipWelcome)
{
    *this = DataViewWizardState();
    m_bNew = bNewDataView;
    m_bSkipWelcome = bSkipWelcome;
}

void DataViewWizardState::SetBasedOnExisting(bool bExisting)
{
    if (m_bBasedOnExisting && !bExisting)
        m_bReload = true;
    m_bBasedOnExisting = bExisting;
}

Step DataViewWizardState::FirstStep() const
{
    if (m_bNew)
        return m_bSkipWelcome ? Step::Template : Step::Welcome;
    // A source that could not be listed is chosen again.
    if (m_bSourceUnavailable)
        return FileOrFolder() ? Step::Location : Step::DataSource;
    return Step::DisplayFields;
}

Step DataViewWizardState::NextStep() const
{
    switch (m_eCurrent) {
    case Step::None: return FirstStep();
    case Step::Welcome: return m_bNew ? Step::Template : Step::DataSource;
    case Step::Template: return m_bBasedOnExisting ? Step::DisplayFields : Step::DataSource;
    case Step::DataSource: return FileOrFolder() ? Step::Location : Step::DataItem;
    // A folder is its own data item.
    case Step::Location: return m_eSource == SourceType::Outlook ? Step::DisplayFields : Step::DataItem;
    case Step::DataItem: return Step::DisplayFields;
    case Step::DisplayFields: return Step::Filters;
    case Step::Filters:
    case Step::Finish: return Step::Finish;
    }
    return m_eCurrent;
}

Step DataViewWizardState::BackStep() const
{
    switch (m_eCurrent) {
    case Step::None:
    case Step::Welcome: return Step::Welcome;
    case Step::Template: return Step::Welcome;
    case Step::DataSource: return m_bNew ? Step::Template : Step::Welcome;
    case Step::Location: return Step::DataSource;
    case Step::DataItem: return m_eSource == SourceType::System ? Step::DataSource : Step::Location;
    case Step::DisplayFields:
        if (m_bBasedOnExisting)
            return Step::Template;
        return m_eSource == SourceType::Outlook ? Step::Location : Step::DataItem;
    case Step::Filters: return Step::DisplayFields;
    case Step::Finish: return Step::Filters;
    }
    return m_eCurrent;
}

QList<LeavingCheck> DataViewWizardState::ChecksBeforeLeaving(Direction eDirection) const
{
    if (eDirection == Direction::Next)
        return m_eCurrent == Step::DataItem ? QList<LeavingCheck>{LeavingCheck::DataItem} : QList<LeavingCheck>{};
    if (eDirection != Direction::Finish)
        return {};
    switch (m_eCurrent) {
    case Step::DataSource:
    case Step::Location:
    case Step::DataItem:
        return {LeavingCheck::DataItem, LeavingCheck::FieldRefresh, LeavingCheck::DisplayFields, LeavingCheck::Name};
    case Step::DisplayFields: return {LeavingCheck::DisplayFields, LeavingCheck::Name};
    case Step::Filters: return {LeavingCheck::Name};
    default: return {};
    }
}

WizardButtons DataViewWizardState::Buttons(bool bLocationGiven, bool bDataItemsListed) const
{
    WizardButtons oButtons;
    oButtons.bPreviewShown = m_eCurrent == Step::DisplayFields || m_eCurrent == Step::Filters;
    switch (m_eCurrent) {
    case Step::None:
    case Step::Welcome:
        oButtons.bNext = true;
        return oButtons;
    case Step::Finish:
        oButtons.bBack = oButtons.bFinish = true;
        return oButtons;
    default:
        break;
    }
    oButtons.bBack = oButtons.bNext = true;
    if (m_eCurrent == Step::Location)
        oButtons.bNext = bLocationGiven;
    else if (m_eCurrent == Step::DataItem)
        oButtons.bNext = bDataItemsListed;
    // An existing data view can be finished from any page, once its source holds.
    const bool bSourcePage = m_eCurrent == Step::Location || m_eCurrent == Step::DataItem;
    oButtons.bFinish = !m_bNew && (!bSourcePage || oButtons.bNext);
    return oButtons;
}

QString DataViewWizardState::NameToSave(const QString &sTyped, const QString &sBase) const
{
    return m_bNameEdited ? sTyped.trimmed() : sBase;
}

NameProblem DataViewWizardState::CheckName(const QString &sTyped, const QString &sBase, const QString &sCurrentName,
                                           const std::function<bool(const QString &)> &nameTaken) const
{
    const QString sName = NameToSave(sTyped, sBase);
    if (sName.isEmpty())
        return NameProblem::Missing;
    if (sName != sCurrentName && nameTaken(sName))
        return NameProblem::Taken;
    return NameProblem::None;
}

QString DataViewWizardState::MakeUniqueName(const QString &sName, const std::function<bool(const QString &)> &nameTaken)
{
    QString sCandidate = sName;
    for (int n = 1; nameTaken(sCandidate); ++n)
        sCandidate = QStringLiteral("%1 (%2)").arg(sName).arg(n);
    return sCandidate;
}

QString DataViewWizardState::Caption(const QString &sName)
{
    return QString::fromLatin1(kTitleWizard) + QStringLiteral(" - ")
           + (sName.isEmpty() ? QStringLiteral("(Untitled)") : sName);
}

int DataViewWizardState::TitleId(Step eStep) const
{
    switch (eStep) {
    case Step::Welcome: return 81300;
    case Step::Template: return 81304;
    case Step::DataSource: return 81306;
    case Step::Location: return 81314;
    case Step::DataItem: return 81308;
    case Step::DisplayFields: return 81310;
    case Step::Filters: return 81312;
    case Step::Finish: return 81302;
    case Step::None: break;
    }
    return 0;
}

int DataViewWizardState::DescriptionId(Step eStep) const
{
    switch (eStep) {
    case Step::Welcome: return m_bNew ? 81301 : 81334;
    case Step::Finish: return m_bNew ? 81303 : 81335;
    case Step::None: return 0;
    default: return TitleId(eStep) + 1;
    }
}

} // namespace qv::wizard
