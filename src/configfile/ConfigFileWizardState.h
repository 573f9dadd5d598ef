#pragma once

#include <QString>

namespace qv::configfile {

// The wizard's steps, numbered as their frames are.
enum class ConfigStep : qint16 { None = 0, Welcome = 1, Action = 2, Name = 3, Complete = 4 };

// The choice of the action step, in the order of its two options.
enum class ConfigAction { Create = 0, Link = 1 };

// What the caller sets: the folder the default team file is proposed in
// ("" proposes none), and the file whose name and description the user
// changes ("" for a new-file start, where the user creates or links).
struct ConfigFileWizardRequest
{
    QString sDefaultFolder;
    QString sFilePath;
};

// What a showing answered: the chosen file, or the caller's path unchanged
// when it was cancelled.
class ConfigFileWizardResult
{
public:
    bool Cancelled() const { return m_bCancelled; }
    const QString &FilePath() const { return m_sFilePath; }

private:
    friend class ConfigFileWizardState;
    bool m_bCancelled = true;
    QString m_sFilePath;
};

// What the button row offers on a step (Cancel always).
struct ConfigFileWizardButtons
{
    bool bBack = false;
    bool bNext = false;
    bool bFinish = false;
    friend bool operator==(const ConfigFileWizardButtons &, const ConfigFileWizardButtons &) = default;
};

// The Configuration File wizard without its window: the step sequence and
// its skip rules, the buttons of each step, whether the file is created or
// linked, the texts that depend on it, the required fields, and the result.
class ConfigFileWizardState
{
public:
    // A showing, with the user's "SkipWelcome" choice; the sequence stands
    // before its first step.
    void Begin(const ConfigFileWizardRequest &oRequest, bool bSkipWelcome);
    const ConfigFileWizardRequest &Request() const { return m_oRequest; }

    // Started without a file: the user chooses to create or link.
    bool NewFileStart() const { return m_oRequest.sFilePath.isEmpty(); }
    bool SkipWelcome() const { return m_bSkipWelcome; }
    void SetSkipWelcome(bool bSkip) { m_bSkipWelcome = bSkip; }
    ConfigAction Action() const { return m_eAction; }
    void SetAction(ConfigAction eAction) { m_eAction = eAction; }
    // A file is written when one was passed in or "create new" is chosen;
    // otherwise the wizard links to a file that exists.
    bool Creating() const { return !NewFileStart() || m_eAction == ConfigAction::Create; }

    ConfigStep Current() const { return m_eCurrent; }
    void MoveTo(ConfigStep eStep) { m_eCurrent = eStep; }
    // The step a showing opens on, and where Next and Back lead from the
    // current one (Back stays on the first step shown).
    ConfigStep FirstStep() const;
    ConfigStep NextStep() const;
    ConfigStep BackStep() const;
    ConfigFileWizardButtons Buttons() const;

    // What the file box shows when the wizard opens: the passed file, else
    // the default team file in the default folder.
    QString InitialFilePath() const;
    // "&Save configuration file as:" or "&Open configuration file:".
    QString FileLabel() const;
    // The resource strings of a step's title and description (0 for none).
    quint32 TitleId(ConfigStep eStep) const;
    quint32 DescriptionId(ConfigStep eStep) const;
    // The name of the field the current step still needs ("Name",
    // "Configuration file name"), or "" when nothing is missing.
    QString MissingField(const QString &sName, const QString &sFile) const;

    // Builds the result once: the chosen file, or (Cancel) the caller's path.
    const ConfigFileWizardResult &Finish(const QString &sFilePath);
    const ConfigFileWizardResult &Cancel();
    const ConfigFileWizardResult &Result() const { return m_oResult; }
    bool Finished() const { return m_bFinished; }

private:
    ConfigFileWizardRequest m_oRequest;
    ConfigFileWizardResult m_oResult;
    ConfigStep m_eCurrent = ConfigStep::None;
    ConfigAction m_eAction = ConfigAction::Create;
    bool m_bSkipWelcome = false;
    bool m_bFinished = false;
};

} // namespace qv::configfile
