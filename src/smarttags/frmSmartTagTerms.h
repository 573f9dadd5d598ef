#pragma once

#include "SmartTagTermsState.h"

#include <QDialog>

class QHeaderView;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace qv::config {
class Recognizer;
}

namespace qv {

// The recognizer terms dialog: the additional and the excluded
// terms of one smart tag's recognizer, each in a list with New, Rename and
// Delete. Its lists, numbering and result live in its SmartTagTermsState;
// only OK writes the lists back (ShowForm), and Cancel or the close box
// leave the recognizer as it was. The Data View Manager opens it for the
// selected smart tag.
//
// Children by control name: lblDataView, lblTermsFromDataView,
// lblAdditionalTermsTitle, lvIncludedItems, cmdIncludedNew,
// cmdIncludedRename, cmdIncludedDelete, lblExcludedTitle, lvExcludedItems,
// cmdExcludedNew, cmdExcludedRename, cmdExcludedDelete, cmdOK, cmdCancel, the
// hidden menu mnuPopUpMenu with mnuPopUpMenuRename and mnuPopUpMenuDelete.
class frmSmartTagTerms : public QDialog
{
    Q_OBJECT

public:
    explicit frmSmartTagTerms(QWidget *parent = nullptr);
    ~frmSmartTagTerms() override;

    // True unless the dialog was closed with OK.
    bool Cancelled() const { return m_oState.Result().bCancelled; }
    // Shows the order's picture in the list's column header.
    void SetHeaderIcon(QHeaderView *oHeader, int lColumn, Qt::SortOrder lOrder);
    // Starts a showing: texts, both lists, the first additional term selected.
    void Prepare(const smarttags::SmartTagTermsRequest &oRequest);
    // Fills the dialog from the recognizer, shows it modally and, on OK only,
    // writes the lists back into the recognizer.
    void ShowForm(config::Recognizer &oRecognizer);
    // "Smart Tag Recognizer Terms", with " - " and the name when there is one.
    void SetCaption(const QString &sName);

    const smarttags::SmartTagTermsResult &Result() const { return m_oState.Result(); }
    const smarttags::SmartTagTermsState &State() const { return m_oState; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *oEvent) override;
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;

private:
    using List = smarttags::SmartTagTermsState::List;
    QWidget *BuildList(List lList, const QString &sTitle, const char *sLabel, const char *sView,
                       const QStringList &colCaptions, const std::array<const char *, 3> &colButtons);
    void FillList(List lList);
    void NewTerm(List lList);
    void RenameTerm(List lList);
    void DeleteTerms(List lList);
    void SortList(List lList);
    void UpdateButtons();
    void ShowPopup(List lList, const QPoint &oGlobal);
    int SelectedRow(List lList) const;

    smarttags::SmartTagTermsState m_oState;
    QString m_sCaption;
    QLabel *lblTermsFromDataView = nullptr;
    QLabel *lblTitle[2] = {};
    QTreeWidget *lvItems[2] = {};
    QPushButton *cmdNew[2] = {};
    QPushButton *cmdRename[2] = {};
    QPushButton *cmdDelete[2] = {};
    QMenu *mnuPopUpMenu = nullptr;
    List m_lPopupList = List::Included;
    bool m_bFilling = false;
};

// Prepares the dialog for the request, shows it through the modal helper and
// answers its result.
const smarttags::SmartTagTermsResult &RunSmartTagTerms(frmSmartTagTerms &oForm,
                                                       const smarttags::SmartTagTermsRequest &oRequest);

} // namespace qv
