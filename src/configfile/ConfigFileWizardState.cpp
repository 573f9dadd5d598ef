#include "ConfigFileWizardState.h"

#include "ConfigFileRules.h"

namespace qv::configfile {

void ConfigFileWizardState::Begin(const ConfigFileWizardRequest &oRequest, bool bSkipWelcome)
{
    *this = ConfigFileWizardState();
    m_oRequest = oRequest;
    m_bSkipWelcome = bSkipWelcome;
    m_oResult.m_sFilePath = oRequest.sFilePath;
}

ConfigStep ConfigFileWizardState::FirstStep() const
{
    // A file passed in is there to have its name and description changed.
    if (!NewFileStart())
        return ConfigStep::Name;
    return m_bSkipWelcome ? ConfigStep::Action : ConfigStep::Welcome;
}

ConfigStep ConfigFileWizardState::NextStep() const
{
    switch (m_eCurrent) {
    case ConfigStep::None: return FirstStep();
    case ConfigStep::Welcome: return NewFileStart() ? ConfigStep::Action : ConfigStep::Name;
    case ConfigStep::Action: return Creating() ? ConfigStep::Name : ConfigStep::Complete;
    case ConfigStep::Name:
    case ConfigStep::Complete: return ConfigStep::Complete;
    }
    return m_eCurrent;
}

ConfigStep ConfigFileWizardState::BackStep() const
{
    switch (m_eCurrent) {
    case ConfigStep::None:
    case ConfigStep::Welcome: return m_eCurrent;
    // The welcome was skipped: the action step is the first one shown.
    case ConfigStep::Action: return m_bSkipWelcome ? m_eCurrent : ConfigStep::Welcome;
    case ConfigStep::Name: return NewFileStart() ? ConfigStep::Action : ConfigStep::Welcome;
    case ConfigStep::Complete: return Creating() ? ConfigStep::Name : ConfigStep::Action;
    }
    return m_eCurrent;
}

ConfigFileWizardButtons ConfigFileWizardState::Buttons() const
{
    ConfigFileWizardButtons oButtons;
    oButtons.bBack = BackStep() != m_eCurrent;
    oButtons.bNext = m_eCurrent != ConfigStep::Complete && m_eCurrent != ConfigStep::None;
    oButtons.bFinish = m_eCurrent == ConfigStep::Complete;
    return oButtons;
}

QString ConfigFileWizardState::InitialFilePath() const
{
    return NewFileStart() ? ProposedTeamFile(m_oRequest.sDefaultFolder) : m_oRequest.sFilePath;
}

QString ConfigFileWizardState::FileLabel() const
{
    return Creating() ? QStringLiteral("&Save configuration file as:") : QStringLiteral("&Open configuration file:");
}

quint32 ConfigFileWizardState::TitleId(ConfigStep eStep) const
{
    switch (eStep) {
    case ConfigStep::Welcome: return 150004;
    case ConfigStep::Action: return 150006;
    case ConfigStep::Name: return 150008;
    case ConfigStep::Complete: return Creating() ? 150010 : 150012;
    case ConfigStep::None: break;
    }
    return 0;
}

quint32 ConfigFileWizardState::DescriptionId(ConfigStep eStep) const
{
    const quint32 lTitle = TitleId(eStep);
    return lTitle == 0 ? 0 : lTitle + 1;
}

QString ConfigFileWizardState::MissingField(const QString &sName, const QString &sFile) const
{
    if (m_eCurrent == ConfigStep::Name && sName.isEmpty())
        return QStringLiteral("Name");
    if (m_eCurrent == ConfigStep::Complete && sFile.isEmpty())
        return QStringLiteral("Configuration file name");
    return QString();
}

const ConfigFileWizardResult &ConfigFileWizardState::Finish(const QString &sFilePath)
{
    if (m_bFinished)
        return m_oResult;
    m_bFinished = true;
    m_oResult.m_bCancelled = false;
    m_oResult.m_sFilePath = sFilePath;
    return m_oResult;
}

const ConfigFileWizardResult &ConfigFileWizardState::Cancel()
{
    if (m_bFinished)
        return m_oResult;
    m_bFinished = true;
    m_oResult.m_bCancelled = true;
    m_oResult.m_sFilePath = m_oRequest.sFilePath;
    return m_oResult;
}

} // namespace qv::configfile
