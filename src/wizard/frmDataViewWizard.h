#pragma once

#include "DataViewWizardRequest.h"
#include "DataViewWizardState.h"
#include "WizardPage.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace qv::wizard {
class DataItemPage;
class DataSourcePage;
class FinishPage;
class LocationPage;
class TemplatePage;
} // namespace qv::wizard

namespace qv {

// The Data View Wizard: eight pages that make a new data view or change one
// in a configuration store. Its sequence lives in DataViewWizardState; the
// pages (wizard::WizardPage) write into the working data view as they are
// committed. Lists of data items and fields come from jobs of its one
// FetchRunner, so the window paints and Cancel reaches them.
//
// Children by control name: cmdPreview, cmdBack, cmdNext, cmdFinish,
// cmdCancel, fraStepHead, lblStepTitle, lblStepDescription, fraWelcome,
// fraFinish, fraStepBody2 to fraStepBody7, and each page's controls.
class frmDataViewWizard : public QDialog
{
    Q_OBJECT

public:
    explicit frmDataViewWizard(QWidget *parent = nullptr);
    ~frmDataViewWizard() override;

    // Starts a showing; false when it cannot (the wizard then answers cancelled).
    bool Prepare(const wizard::DataViewWizardRequest &oRequest);
    const wizard::DataViewWizardResult &Result() const { return m_oResult; }
    const wizard::DataViewWizardState &State() const { return m_oState; }
    // True while a list is fetched or a page change runs.
    bool Busy() const;

    // The buttons' work, also for tests and keys.
    void GoNext();
    void GoBack();
    void FinishWizard();
    void CancelWizard();

signals:
    // A page is shown and ready for input.
    void StepShown(int lStep);

protected:
    void showEvent(QShowEvent *oEvent) override;
    void closeEvent(QCloseEvent *oEvent) override;
    void keyPressEvent(QKeyEvent *oEvent) override;

private:
    using Then = std::function<void(bool)>;

    void BuildControls();
    // The first page, once the window shows: an existing data view's items are listed first.
    void Start();
    QWidget *BuildButtons();
    wizard::WizardPage *Page(wizard::Step eStep) const;
    void ConnectPage(wizard::WizardPage *oPage);

    // --- the sequence (frmDataViewWizardSteps.cpp)
    bool BeginTransition(wizard::Direction eDirection);
    // Commits the page and runs the checks; `then` once both passed, else the page stays.
    void CommitAndCheck(const std::function<void()> &then);
    void ShowStep(wizard::Step eStep);
    void ShowPage(wizard::Step eStep);
    void CommitStep(const Then &then);
    void CheckBeforeLeaving(const Then &then);
    void RunChecks(QList<wizard::LeavingCheck> colChecks, const Then &then);
    void MoveOn(wizard::Step eTarget);
    void RefreshButtons();
    void FocusStepControl();
    void EndTransition();
    bool CheckName();
    void Preview();

    // --- sources (frmDataViewWizardSources.cpp)
    void CommitDataSource(const Then &then);
    void CommitLocation(const Then &then);
    void ApplyDataSource(wizard::SourceType eType, const QString &sLocation, const Then &then);
    void ListDataItems(const std::function<void(bool bListed, QStringList colNames)> &then);
    void PopulateDataItems(const Then &then);
    void CheckDataItemExists(const Then &then);
    void RefreshFields(const Then &then);
    void CreateWorkingDataView(const QString &sTemplateName);
    void UpdateCaption();

    wizard::DataViewWizardState m_oState;
    wizard::DataViewWizardResult m_oResult;
    wizard::WizardContext m_oContext;
    std::shared_ptr<data::DataViewDataServices> m_oServices;
    wizard::Direction m_eDirection = wizard::Direction::Next;
    bool m_bReady = true;
    bool m_bTransition = false;
    bool m_bStarted = false;
    QString m_sBaseName;
    QString m_sLastConnection;
    qint32 m_lConfigFileType = 1;

    QLabel *lblStepTitle = nullptr;
    QLabel *lblStepDescription = nullptr;
    QWidget *fraStepHead = nullptr;
    QStackedWidget *m_oBody = nullptr;
    QPushButton *cmdPreview = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;
    QPushButton *cmdCancel = nullptr;
    std::array<wizard::WizardPage *, 8> m_colPages{};
    wizard::TemplatePage *m_oTemplate = nullptr;
    wizard::DataSourcePage *m_oDataSource = nullptr;
    wizard::LocationPage *m_oLocation = nullptr;
    wizard::DataItemPage *m_oDataItem = nullptr;
    wizard::FinishPage *m_oFinish = nullptr;
};

// Shows the wizard for the request through the modal helper and answers what
// it left: the one way callers run the Data View Wizard.
const wizard::DataViewWizardResult &RunDataViewWizard(frmDataViewWizard &oForm,
                                                      const wizard::DataViewWizardRequest &oRequest);

} // namespace qv
