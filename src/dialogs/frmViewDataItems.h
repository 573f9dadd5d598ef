#pragma once

#include <QDialog>

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
}
namespace qv::config {
class DataView;
}
namespace qv::data {
class DataViewDataServices;
}
namespace qv::ui {
class ProgressDialog;
}

namespace qv {

// The View Data window: one data view's rows, read-only, as a table or, for
// a source that renders itself (an HTML page), in the source's own form.
// Set DataView, Preview and FormCaption, call Prepare, show it through the
// modal helper. The rows are fetched after the first paint and again on F5;
// the window's place and size are kept in the user's registry.
//
// Children by control name: txtBlankStartupView, cmdClose, sbrStatusBar,
// chkShow, optNativeView, optTableView, WebBrowser, ctlDataViewer.
class frmViewDataItems : public QDialog
{
    Q_OBJECT

public:
    explicit frmViewDataItems(QWidget *parent = nullptr);
    ~frmViewDataItems() override;

    void SetDataView(const std::shared_ptr<config::DataView> &oDataView);
    // Rows of a preview; 0 shows the data view in full.
    void SetPreview(qint32 lRows) { m_lPreview = lRows; }
    void SetFormCaption(const QString &sCaption);
    void SetDataServices(const std::shared_ptr<data::DataViewDataServices> &oServices);
    // Restores the stored place and size and shows the blank placeholder.
    void Prepare();
    // True while a load is pending or running.
    bool Busy() const { return m_bLoadPending || m_bBusy; }
    // The title the progress window had at the last load.
    QString ProgressTitle() const { return m_sProgressTitle; }

    void done(int lResult) override;

signals:
    void Loaded();

protected:
    void paintEvent(QPaintEvent *oEvent) override;
    void keyReleaseEvent(QKeyEvent *oEvent) override;

private:
    void BuildControls();
    void Load();
    void ShowNativeView();
    void ShowTableView(bool bTable);
    void UpdateStatus();
    void SavePlacement();
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

    std::shared_ptr<config::DataView> m_oDataView;
    std::shared_ptr<data::DataViewDataServices> m_oServices;
    std::unique_ptr<ui::ProgressDialog> m_oProgress;
    QString m_sFormCaption;
    QString m_sProgressTitle;
    qint32 m_lPreview = 0;
    qint32 m_lRowLimit = 0;
    bool m_bLoadPending = false;
    bool m_bBusy = false;
};

} // namespace qv
