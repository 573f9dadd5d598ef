#pragma once

#include "ConfigFileWizardState.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;

namespace qv::config {
class ConfigStore;
}

namespace qv {

// The Configuration File wizard: creates a team configuration file (or
// changes the name and description of the one passed in) or links to one
// that exists, and answers its path. Its sequence and result live in its
// ConfigFileWizardState; callers run it through RunConfigFileWizard.
//
// Children by control name: the step frames fraStep(1) to fraStep(4);
// imgWelcome, lblWelcomeTitle, lblWelcomeDescription, chkSkipWelcome;
// lblStepHeader, lblStepSubHeader, imgStep; lblAction, optAction(0) "create
// new" and optAction(1) "link to existing"; lblName, txtName,
// lblDescriptions, txtDescriptions; imgComplete, lblCompleteTitle,
// lblCompleteDescription, lblFile, txtFile, cmdBrowse; the navigation
// buttons cmdNav(0) Cancel, cmdNav(1) Back, cmdNav(2) Next, cmdNav(3) Finish.
class frmConfigFileWizard : public QDialog
{
    Q_OBJECT

public:
    explicit frmConfigFileWizard(QWidget *parent = nullptr);
    ~frmConfigFileWizard() override;

    // Starts a showing: texts, "SkipWelcome", the proposed or passed file
    // (a passed file is opened, and its name and description shown) and the
    // first step. Raises when the passed file cannot be opened.
    void Prepare(const configfile::ConfigFileWizardRequest &oRequest);
    const configfile::ConfigFileWizardResult &Result() const { return m_oState.Result(); }
    bool Cancelled() const { return m_oState.Result().Cancelled(); }
    const configfile::ConfigFileWizardState &State() const { return m_oState; }

    // Shows the file dialog for the current mode, starting from sCurrentPath;
    // answers the chosen path, or "" when the user cancelled.
    QString GetConfigFileName(const QString &sCurrentPath);

public slots:
    void reject() override;

private:
    // frmConfigFileWizard.cpp: controls, steps and buttons.
    void BuildControls();
    QWidget *BuildWelcomeStep();
    QWidget *BuildActionStep();
    QWidget *BuildNameStep();
    QWidget *BuildCompleteStep();
    QWidget *BuildButtons();
    void ShowStep(configfile::ConfigStep eStep);
    void UpdateControls();
    void OnNavigate(int lIndex);
    bool ValidateStep();
    // frmConfigFileWizardFinish.cpp: Browse and Finish.
    void Browse();
    void FinishWizard();
    bool FinishLinking(const QString &sPath);
    bool FinishCreating();
    bool WriteConfigFile(const QString &sPath);
    bool ReadableConfigFile(const QString &sPath);

    configfile::ConfigFileWizardState m_oState;
    // The passed file's store, opened when the showing starts, so that a
    // save made by someone else meanwhile is noticed at Finish.
    std::shared_ptr<config::ConfigStore> m_oStore;

    QStackedWidget *m_oSteps = nullptr;
    QWidget *m_oHeader = nullptr;
    QLabel *lblStepHeader = nullptr;
    QLabel *lblStepSubHeader = nullptr;
    QLabel *lblWelcomeTitle = nullptr;
    QLabel *lblWelcomeDescription = nullptr;
    QCheckBox *chkSkipWelcome = nullptr;
    QRadioButton *optAction[2] = {};
    QLineEdit *txtName = nullptr;
    QPlainTextEdit *txtDescriptions = nullptr;
    QLabel *lblCompleteTitle = nullptr;
    QLabel *lblCompleteDescription = nullptr;
    QLabel *lblFile = nullptr;
    QLineEdit *txtFile = nullptr;
    QPushButton *cmdNav[4] = {};
};

// Prepares the wizard for the request, shows it through the modal helper and
// answers its result.
const configfile::ConfigFileWizardResult &RunConfigFileWizard(frmConfigFileWizard &oForm,
                                                             const configfile::ConfigFileWizardRequest &oRequest);

} // namespace qv
