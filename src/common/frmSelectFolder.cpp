#include "frmSelectFolder.h"

#include "ui/Modal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {
namespace {

enum Column { ColFolder, ColType, ColItems };
constexpr int kPathRole = Qt::UserRole;

} // namespace

frmSelectFolder::frmSelectFolder(QWidget *parent)
    : QDialog(parent)
    , m_lblFolders(new QLabel(QStringLiteral("&Folders:"), this))
    , m_lvwFolders(new QTreeWidget(this))
    , m_cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmSelectFolder"));
    setWindowTitle(QStringLiteral("Select Folder"));
    m_lblFolders->setObjectName(QStringLiteral("lblFolders"));
    m_lvwFolders->setObjectName(QStringLiteral("lvwFolders"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_lblFolders->setBuddy(m_lvwFolders);

    m_lvwFolders->setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("Type"), QStringLiteral("Items")});
    m_lvwFolders->setRootIsDecorated(false);
    m_lvwFolders->setUniformRowHeights(true);
    m_lvwFolders->setAllColumnsShowFocus(true);
    m_lvwFolders->header()->setSectionResizeMode(ColFolder, QHeaderView::Stretch);
    m_lvwFolders->header()->setStretchLastSection(false);
    m_cmdOK->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblFolders);
    layout->addWidget(m_lvwFolders);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmSelectFolder::Finish);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvwFolders, &QTreeWidget::itemDoubleClicked, this, &frmSelectFolder::Finish);
    connect(m_lvwFolders, &QTreeWidget::currentItemChanged, this, &frmSelectFolder::UpdateButtons);
    UpdateButtons();
}

void frmSelectFolder::SetFolders(const QList<data::PimFolderInfo> &colFolders)
{
    m_lvwFolders->clear();
    for (const data::PimFolderInfo &folder : colFolders) {
        auto *item = new QTreeWidgetItem(m_lvwFolders, {folder.Name, folder.FolderType, QString::number(folder.ItemCount)});
        item->setData(ColFolder, kPathRole, folder.Path);
        item->setTextAlignment(ColItems, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_lvwFolders->topLevelItemCount() > 0)
        m_lvwFolders->setCurrentItem(m_lvwFolders->topLevelItem(0));
    UpdateButtons();
}

void frmSelectFolder::UpdateButtons()
{
    m_cmdOK->setEnabled(m_lvwFolders->currentItem() != nullptr);
}

void frmSelectFolder::Finish()
{
    const QTreeWidgetItem *item = m_lvwFolders->currentItem();
    if (!item)
        return;
    m_sSelected = item->data(ColFolder, kPathRole).toString();
    m_bCancelled = false;
    accept();
}

QString SelectPimFolder(QWidget *oOwner, const QList<data::PimFolderInfo> &colFolders)
{
    frmSelectFolder form(oOwner);
    form.SetFolders(colFolders);
    ui::RunModal(form);
    return form.Cancelled() ? QString() : form.SelectedFolder();
}

} // namespace qv
