#pragma once

#include "ActionState.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

// The action dialog of the Smart Tag Wizard: whether an action inserts a
// data view's rows or views them, which data view, the layout and style of
// an insert, and the prompt the author sees. It only collects: the wizard
// writes the action from Choices() once the dialog was not cancelled.
//
// Children by control name: icboDataView, cmdLaunchWizard, optActionInsert,
// optActionView, cboLayout, cboStyle, txtName, cmdOK, cmdCancel.
class frmAction : public QDialog
{
    Q_OBJECT

public:
    explicit frmAction(QWidget *parent = nullptr);

    void Prepare(const smarttags::ActionRequest &oRequest);
    bool Cancelled() const { return m_bCancelled; }
    // What the controls hold now.
    smarttags::ActionChoices Choices() const;
    const smarttags::ActionState &State() const { return m_oState; }

protected:
    void closeEvent(QCloseEvent *oEvent) override;

private:
    void BuildControls();
    void FillLayouts();
    void FillStyles();
    void RefreshControls();
    void UpdateCaption();
    void PromptEdited();
    void PromptChanged(const QString &sText);
    void LaunchWizard();
    void Confirm();
    void MarkChanged();

    smarttags::ActionState m_oState;
    bool m_bCancelled = true;
    bool m_bChanged = false;
    bool m_bLoading = false;

    QComboBox *icboDataView = nullptr;
    QPushButton *cmdLaunchWizard = nullptr;
    QRadioButton *optActionInsert = nullptr;
    QRadioButton *optActionView = nullptr;
    QLabel *lblLayout = nullptr;
    QComboBox *cboLayout = nullptr;
    QLabel *lblStyle = nullptr;
    QComboBox *cboStyle = nullptr;
    QLineEdit *txtName = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

// Shows the action dialog for the request through the modal helper: the one
// way the wizard runs it.
void RunAction(frmAction &oForm, const smarttags::ActionRequest &oRequest);

} // namespace qv
