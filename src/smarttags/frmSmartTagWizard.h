#pragma once

#include "SmartTagWizardState.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace qv {

// The Smart Tag Wizard: five pages that make a new smart tag or change one
// in a configuration store: its actions (each made in frmAction), whether
// its terms come from a field of a data view, its own terms, its name,
// description and whether it is enabled. The decisions live in
// SmartTagWizardState; the caller keeps or discards the store's changes by
// the result's Cancelled.
//
// Children by control name: fraWelcome, chkSkipWelcome, fraStepHead,
// lblStepTitle, lblStepDescription, fraStepBody2 to fraStepBody4, lvwAction,
// cmdActionNew, cmdActionProperties, cmdActionDelete, chkLookupDataView,
// icboDataView, cboRecognizerField, cmdLaunchWizard, lvwTerm, cmdTermNew,
// cmdTermDelete, cmdTermDeleteAll, fraFinish, txtName, txtDescription,
// chkEnable, cmdBack, cmdNext, cmdFinish, cmdCancel.
class frmSmartTagWizard : public QDialog
{
    Q_OBJECT

public:
    explicit frmSmartTagWizard(QWidget *parent = nullptr);

    void Prepare(const smarttags::SmartTagWizardRequest &oRequest);
    const smarttags::SmartTagWizardResult &Result() const { return m_oState.Result(); }
    const smarttags::SmartTagWizardState &State() const { return m_oState; }

    void GoNext();
    void GoBack();
    void FinishWizard();
    void CancelWizard();

signals:
    void StepShown(int lStep);

protected:
    void closeEvent(QCloseEvent *oEvent) override;
    void keyPressEvent(QKeyEvent *oEvent) override;

private:
    // --- frame (frmSmartTagWizard.cpp)
    void BuildControls();
    QWidget *BuildButtons();
    void ShowStep(int lPrevious);
    void RefreshButtons();
    void UpdateCaption();
    void Refuse(const smarttags::Refusal &oRefusal);
    smarttags::SmartTagChoices Choices() const;
    void Changed();

    // --- pages (frmSmartTagWizardPages.cpp)
    QWidget *BuildWelcome();
    QWidget *BuildActions();
    QWidget *BuildRecognizer();
    QWidget *BuildTerms();
    QWidget *BuildFinish();
    void FillActions();
    void FillRecognizer();
    void FillFields(const QString &sSelect);
    void FillTerms();
    void NewAction();
    void ActionProperties();
    void DeleteAction();
    void LaunchDataViewWizard();
    void NewTerm();
    void DeleteTerm();
    void DeleteAllTerms();
    void SelectAfterRemoval(QListWidget *oList, int lRow);
    QWidget *PageFocus(int lStep) const;

    smarttags::SmartTagWizardState m_oState;
    smarttags::SmartTagWizardRequest m_oRequest;

    QStackedWidget *m_oBody = nullptr;
    std::array<QWidget *, 5> m_colPages{};
    QWidget *fraStepHead = nullptr;
    QLabel *lblStepTitle = nullptr;
    QLabel *lblStepDescription = nullptr;
    QLabel *lblWelcomeDescription = nullptr;
    QLabel *lblFinishDescription = nullptr;
    QCheckBox *chkSkipWelcome = nullptr;
    QListWidget *lvwAction = nullptr;
    QPushButton *cmdActionNew = nullptr;
    QPushButton *cmdActionProperties = nullptr;
    QPushButton *cmdActionDelete = nullptr;
    QCheckBox *chkLookupDataView = nullptr;
    QLabel *lblDataView = nullptr;
    QComboBox *icboDataView = nullptr;
    QLabel *lblRecognizerField = nullptr;
    QComboBox *cboRecognizerField = nullptr;
    QPushButton *cmdLaunchWizard = nullptr;
    QListWidget *lvwTerm = nullptr;
    QPushButton *cmdTermNew = nullptr;
    QPushButton *cmdTermDelete = nullptr;
    QPushButton *cmdTermDeleteAll = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtDescription = nullptr;
    QCheckBox *chkEnable = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;
    QPushButton *cmdCancel = nullptr;
};

// Shows the wizard for the request through the modal helper: the one way
// callers run the Smart Tag Wizard.
const smarttags::SmartTagWizardResult &RunSmartTagWizard(frmSmartTagWizard &oForm,
                                                          const smarttags::SmartTagWizardRequest &oRequest);

} // namespace qv
