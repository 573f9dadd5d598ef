// The wizard's sequence: the buttons' work, each page's commit and the
// checks before a page is left. A check that asks a source is a job, so each
// step hands its answer on to the next.
#include "frmDataViewWizard.h"

#include "DisplayFieldsPage.h"
#include "FilterPage.h"
#include "WizardPages.h"

#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "qvuser/DVUser.h"
#include "ui/MessageBox.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace qv {

using namespace wizard;

namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);

} // namespace

bool frmDataViewWizard::BeginTransition(Direction eDirection)
{
    if (!m_bReady || Busy())
        return false;
    m_bReady = false;
    m_bTransition = true;
    m_eDirection = eDirection;
    return true;
}

void frmDataViewWizard::CommitAndCheck(const std::function<void()> &then)
{
    const auto stay = [this] {
        FocusStepControl();
        EndTransition();
    };
    CommitStep([this, then, stay](bool bCommitted) {
        if (!bCommitted) {
            stay();
            return;
        }
        CheckBeforeLeaving([then, stay](bool bPassed) {
            if (bPassed)
                then();
            else
                stay();
        });
    });
}

void frmDataViewWizard::GoNext()
{
    if (!BeginTransition(Direction::Next))
        return;
    const bool bOk = HandleErrors([this] {
        const SourceType eType = m_oState.Source();
        const QString sFile = m_oLocation->Location();
        if (m_oState.Current() == Step::Location && (eType == SourceType::Access || eType == SourceType::Excel)
            && !QFileInfo::exists(sFile)) {
            m_oLocation->BrowseButton()->setFocus();
            RaiseError(kErrorNoSuchFile, QStringLiteral("frmDataViewWizard.cmdNext_Click"),
                       QStringLiteral("The file \"%1\" does not exist. Click Browse... to find it.").arg(sFile));
        }
    }, kTitle);
    if (!bOk) {
        EndTransition();
        return;
    }
    CommitAndCheck([this] { MoveOn(m_oState.NextStep()); });
}

void frmDataViewWizard::MoveOn(Step eTarget)
{
    if (eTarget != Step::DisplayFields) {
        ShowStep(eTarget);
        return;
    }
    RefreshFields([this](bool bRefreshed) {
        if (bRefreshed) {
            ShowStep(Step::DisplayFields);
            return;
        }
        // A refresh the author cancelled keeps the page; opening, the stored fields show.
        if (m_oState.Current() == Step::None) {
            ShowStep(Step::DisplayFields);
            return;
        }
        EndTransition();
    });
}

void frmDataViewWizard::GoBack()
{
    if (!BeginTransition(Direction::Back))
        return;
    const bool bShown = HandleErrors([this] {
        // Only the field and filter lists are kept on the way back.
        const Step eCurrent = m_oState.Current();
        if (eCurrent == Step::DisplayFields || eCurrent == Step::Filters)
            Page(eCurrent)->WriteBack();
        ShowStep(m_oState.BackStep());
    }, kTitle);
    if (!bShown)
        EndTransition();
}

void frmDataViewWizard::FinishWizard()
{
    if (!BeginTransition(Direction::Finish))
        return;
    CommitAndCheck([this] {
        EndTransition();
        m_oResult = {false, m_oContext.View ? m_oContext.View->Id() : 0};
        accept();
    });
}

void frmDataViewWizard::CancelWizard()
{
    // During a listing, Cancel stops the listing and the page stays.
    if (m_oContext.Fetch->Busy()) {
        m_oContext.Fetch->Cancel();
        return;
    }
    if (!m_bReady)
        return;
    if (m_oState.Changed()
        && ShowMessage(LoadResString(81340), kTitle, ui::mb::YesNo | ui::mb::Question) != ui::mb::Yes)
        return;
    // The caller restores its store; the working data view goes from it now.
    if (m_oState.Changed() && m_oState.NewDataView() && m_oContext.View)
        m_oContext.Store->DataViewCollection().Remove(m_oContext.View->Id());
    m_oResult = {};
    reject();
}

void frmDataViewWizard::EndTransition()
{
    m_bReady = true;
    m_bTransition = false;
    RefreshButtons();
}

void frmDataViewWizard::CommitStep(const Then &then)
{
    const Step eStep = m_oState.Current();
    switch (eStep) {
    case Step::DataSource: CommitDataSource(then); return;
    case Step::Location: CommitLocation(then); return;
    case Step::Finish:
        if (!CheckName()) {
            then(false);
            return;
        }
        break;
    default: break;
    }
    bool bCommitted = false;
    HandleErrors([&] {
        bCommitted = Page(eStep)->Commit(m_eDirection);
        if (bCommitted && eStep == Step::Template)
            CreateWorkingDataView(m_oTemplate->TemplateName());
    }, kTitle);
    then(bCommitted);
}

void frmDataViewWizard::CheckBeforeLeaving(const Then &then)
{
    RunChecks(m_oState.ChecksBeforeLeaving(m_eDirection), then);
}

void frmDataViewWizard::RunChecks(QList<LeavingCheck> colChecks, const Then &then)
{
    if (colChecks.isEmpty()) {
        then(true);
        return;
    }
    const LeavingCheck eCheck = colChecks.takeFirst();
    const Then next = [this, colChecks, then](bool bPassed) {
        if (!bPassed)
            then(false);
        else
            RunChecks(colChecks, then);
    };
    switch (eCheck) {
    case LeavingCheck::DataItem: CheckDataItemExists(next); return;
    case LeavingCheck::FieldRefresh: RefreshFields(next); return;
    case LeavingCheck::DisplayFields: {
        const auto &colFields = m_oContext.View->Fields;
        const bool bAny = std::any_of(colFields.begin(), colFields.end(), [](const auto &oField) {
            return oField->Displayed;
        });
        if (!bAny)
            ShowMessage(LoadResString(81333), kTitle, ui::mb::Critical);
        next(bAny);
        return;
    }
    case LeavingCheck::Name: next(CheckName()); return;
    }
}

bool frmDataViewWizard::CheckName()
{
    const QString sTyped = m_oFinish->TypedName();
    const auto nameTaken = [this](const QString &sName) {
        return bool(m_oContext.Store->DataViewCollection().ItemByName(sName));
    };
    const QString sCurrent = m_oContext.View ? m_oContext.View->Name : QString();
    switch (m_oState.CheckName(sTyped, m_sBaseName, sCurrent, nameTaken)) {
    case NameProblem::None: return true;
    case NameProblem::Missing:
        ShowMessage(LoadResString(80005, {QStringLiteral("Data View")}), kTitle, ui::mb::Critical);
        break;
    case NameProblem::Taken:
        ShowMessage(LoadResString(80004, {QStringLiteral("Data View")}), kTitle, ui::mb::Critical);
        break;
    }
    if (m_oState.Current() == Step::Finish)
        m_oFinish->NameBox()->setFocus();
    return false;
}

void frmDataViewWizard::ShowStep(Step eStep)
{
    m_oState.MoveTo(eStep);
    const bool bForward = m_eDirection != Direction::Back;
    if (eStep == Step::DataItem && bForward && m_oState.Reload()) {
        // An empty source sends the author back to choose another.
        PopulateDataItems([this](bool) {
            if (m_oDataItem->ItemCount() == 0) {
                m_oState.MoveTo(Step::Location);
                ShowPage(Step::Location);
                ShowMessage(LoadResString(81330), kTitle, ui::mb::Critical);
                m_oLocation->BrowseButton()->setFocus();
                EndTransition();
                return;
            }
            ShowPage(Step::DataItem);
        });
        return;
    }
    HandleErrors([&] { Page(eStep)->Enter(m_eDirection, m_oState.Reload()); }, kTitle);
    if (eStep == Step::DisplayFields && bForward)
        m_oState.SetNameEdited(false);
    if (eStep == Step::Filters && bForward)
        m_oState.SetReload(false);
    ShowPage(eStep);
}

void frmDataViewWizard::ShowPage(Step eStep)
{
    const bool bOwnTitle = eStep == Step::Welcome || eStep == Step::Finish;
    fraStepHead->setVisible(!bOwnTitle);
    if (!bOwnTitle) {
        lblStepTitle->setText(LoadResString(m_oState.TitleId(eStep)));
        lblStepDescription->setText(LoadResString(m_oState.DescriptionId(eStep)));
    }
    m_oBody->setCurrentWidget(Page(eStep));
    UpdateCaption();
    EndTransition();
    FocusStepControl();
    emit StepShown(int(eStep));
}

void frmDataViewWizard::FocusStepControl()
{
    if (QWidget *oControl = Page(m_oState.Current())->FocusControl(); oControl && oControl->isEnabled())
        oControl->setFocus();
}

void frmDataViewWizard::RefreshButtons()
{
    const Step eStep = m_oState.Current();
    if (eStep == Step::None)
        return;
    WizardPage *oPage = Page(eStep);
    oPage->RefreshControls();
    const bool bCanGoNext = oPage->CanGoNext();
    WizardButtons oButtons = m_oState.Buttons(eStep != Step::Location || bCanGoNext,
                                              eStep != Step::DataItem || bCanGoNext);
    // A new data item of an existing data view passes through its fields first.
    if (eStep == Step::DataItem && !m_oState.NewDataView() && !m_oDataItem->SelectedIsCurrent())
        oButtons.bFinish = false;
    if (eStep == Step::DataSource)
        oButtons.bNext = oButtons.bNext && bCanGoNext;
    const bool bFree = m_bReady && !m_bTransition;
    cmdBack->setEnabled(oButtons.bBack && bFree);
    cmdNext->setEnabled(oButtons.bNext && bFree);
    cmdFinish->setEnabled(oButtons.bFinish && bFree);
    cmdCancel->setEnabled(oButtons.bCancel);
    cmdPreview->setVisible(oButtons.bPreviewShown);
    cmdPreview->setEnabled(bFree && m_oContext.View && m_oContext.View->Fields.Count() > 0);
    // Enter goes forward: Next while there is one, else Finish.
    QPushButton *oDefault = oButtons.bNext ? cmdNext : cmdFinish;
    oDefault->setDefault(true);
}

void frmDataViewWizard::Preview()
{
    const Step eStep = m_oState.Current();
    Page(eStep)->WriteBack();
    m_oContext.View->DropRows();
    DVUser oUser;
    std::shared_ptr<config::DataView> oView = m_oContext.View;
    oUser.ShowViewData(oView, 200);
    oUser.CloseForms();
}

} // namespace qv
