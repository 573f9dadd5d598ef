#pragma once

// The folder chooser of the contacts and tasks folders: a list with each
// folder's type and item count, OK and Cancel.

#include "data/DataViewDataServices.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace qv {

class frmSelectFolder : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelectFolder(QWidget *parent = nullptr);

    // The folders to offer, in their order; the first one starts selected.
    void SetFolders(const QList<data::PimFolderInfo> &colFolders);
    bool Cancelled() const { return m_bCancelled; }
    // The chosen folder's path ("" when cancelled).
    QString SelectedFolder() const { return m_sSelected; }

private:
    void UpdateButtons();
    void Finish();

    QLabel *m_lblFolders;
    QTreeWidget *m_lvwFolders;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    bool m_bCancelled = true;
    QString m_sSelected;
};

// Shows the chooser through the modal helper; the chosen folder's path, ""
// when the user cancels.
QString SelectPimFolder(QWidget *oOwner, const QList<data::PimFolderInfo> &colFolders);

} // namespace qv
