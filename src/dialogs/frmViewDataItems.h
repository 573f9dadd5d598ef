#pragma once

#include "ViewDataState.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class QStatusBar;
class QTextBrowser;

namespace qv {
class ctlDataViewer;
class FetchRunner;
}
namespace qv::config {
class DataView;
}
namespace qv::data {
class DataViewDataServices;
}

namespace qv {

// The View Data window: one data view's rows, read-only, as a table or, for
// a source that renders itself (an HTML page), in the source's own form. A
// caller runs it through RunViewData with a request. The rows are fetched
// once the window is shown and again on F5, as jobs of its FetchRunner; the
// window's place and size are kept in the user's registry. Its decisions
// live in its ViewDataState.
//
// Children by control name: txtBlankStartupView, cmdClose, sbrStatusBar,
// chkShow, optNativeView, optTableView, WebBrowser, ctlDataViewer.
class frmViewDataItems : public QDialog
{
    Q_OBJECT

public:
    explicit frmViewDataItems(QWidget *parent = nullptr);
    ~frmViewDataItems() override;

    // Restores the stored place and size and shows the blank placeholder;
    // the rows come once the window is shown.
    void Prepare(const dialogs::ViewDataRequest &oRequest);
    const dialogs::ViewDataState &State() const { return m_oState; }
    const dialogs::ViewDataResult &Result() const { return m_oState.Result(); }
    // True while a load is pending or running, or the page is fetched.
    bool Busy() const;

    void done(int lResult) override;

signals:
    void Loaded();

protected:
    void showEvent(QShowEvent *oEvent) override;
    void keyReleaseEvent(QKeyEvent *oEvent) override;

private:
    void BuildControls();
    void Load();
    void ShowRows();
    void ShowNativeView();
    void ShowTableView(bool bTable);
    void UpdateStatus();
    void CentreOnHost();
    void FitPreview();
    std::shared_ptr<data::DataViewDataServices> Services();

    QLineEdit *txtBlankStartupView = nullptr;
    QPushButton *cmdClose = nullptr;
    QStatusBar *sbrStatusBar = nullptr;
    QCheckBox *chkShow = nullptr;
    QRadioButton *optNativeView = nullptr;
    QRadioButton *optTableView = nullptr;
    QTextBrowser *WebBrowser = nullptr;
    ctlDataViewer *m_oViewer = nullptr;
    QStackedLayout *m_oPages = nullptr;

    dialogs::ViewDataState m_oState;
    FetchRunner *m_oFetch = nullptr;
    std::shared_ptr<data::DataViewDataServices> m_oServices;
    bool m_bCentre = false; // no placement of the user's yet
    QPointer<QWidget> m_oHost; // the window active when the request came
};

// Shows the window for the request through the modal helper and answers
// what it left behind: the one way callers run View Data.
const dialogs::ViewDataResult &RunViewData(frmViewDataItems &oForm, const dialogs::ViewDataRequest &oRequest);

} // namespace qv
