// The pages that choose the source: its kind, its location and its data item.
#include "WizardPages.h"

#include "qvuser/DVUser.h"

#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "scripting/Dictionary.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>
#include <QStyle>

namespace qv::wizard {

namespace {

} // namespace

// A page of one list under its prompt; a double-click acts as Next. The
// list's model is set before, so that its selection model is the one watched.
template <typename List>
List *ListWithPrompt(WizardPage *oPage, List *oList, const QString &sList, const QString &sPrompt, quint32 lPromptId)
{
    oList->setObjectName(sList);
    oList->setSelectionMode(QAbstractItemView::SingleSelection);
    oList->setUniformItemSizes(true);
    oList->setIconSize(QSize(16, 16));
    auto *oPrompt = new QLabel(LoadResString(lPromptId), oPage);
    oPrompt->setObjectName(sPrompt);
    oPrompt->setBuddy(oList);
    auto *oLayout = new QVBoxLayout(oPage);
    oLayout->addWidget(oPrompt);
    oLayout->addWidget(oList, 1);
    QObject::connect(oList->selectionModel(), &QItemSelectionModel::selectionChanged, oPage,
                     &WizardPage::ButtonsMayChange);
    QObject::connect(oList, &QAbstractItemView::doubleClicked, oPage, &WizardPage::NextRequested);
    return oList;
}

namespace {

QIcon SourceIcon(const QWidget *oWidget, SourceType eType)
{
    switch (eType) {
    case SourceType::Access:
    case SourceType::Excel: return oWidget->style()->standardIcon(QStyle::SP_FileIcon);
    case SourceType::Outlook: return oWidget->style()->standardIcon(QStyle::SP_DirIcon);
    case SourceType::System: break;
    }
    return oWidget->style()->standardIcon(QStyle::SP_DriveNetIcon);
}

// The prompt of a page: the resource text with ":" and its access key.
QString PromptText(quint32 lId)
{
    QString sText = LoadResString(lId);
    if (!sText.endsWith(u':'))
        sText += u':';
    return sText;
}

} // namespace

// --- data source

DataSourcePage::DataSourcePage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraStepBody3"));
    lvwDataSource = ListWithPrompt(this, new QListWidget(this), QStringLiteral("lvwDataSource"),
                                   QStringLiteral("lblDataSourcePrompt"), 81320);
}

void DataSourcePage::Populate()
{
    data::DataViewDataServices &oServices = *Context().Services;
    const auto dctUser = oServices.GetDataSources(1);
    const auto dctSystem = oServices.GetDataSources(2);
    const auto dctFile = oServices.GetDataSources(3);
    m_colEntries = DataSourceEntries(*dctUser, *dctSystem, *dctFile, oServices.OutlookAvailable());
    lvwDataSource->clear();
    for (const DataSourceEntry &oEntry : std::as_const(m_colEntries))
        new QListWidgetItem(SourceIcon(this, oEntry.Type), oEntry.Text, lvwDataSource);
    const config::DataView *oView = Context().View.get();
    const SourceType eType = oView ? Context().State->Source() : SourceType::Access;
    const bool bHasSource = oView && !oView->Source.ConnectionText.isEmpty();
    lvwDataSource->setCurrentRow(
        bHasSource ? SelectedDataSourceEntry(m_colEntries, eType, GetLocationFromDataView(*oView)) : 0);
}

void DataSourcePage::Enter(Direction eDirection, bool bReload)
{
    if (eDirection != Direction::Back && bReload)
        Populate();
}

bool DataSourcePage::Commit(Direction)
{
    // The frame applies the source: that tests it, which is a job.
    return SelectedEntry() != nullptr;
}

const DataSourceEntry *DataSourcePage::SelectedEntry() const
{
    const int lRow = lvwDataSource->currentRow();
    return lRow >= 0 && lRow < m_colEntries.size() ? &m_colEntries.at(lRow) : nullptr;
}

QWidget *DataSourcePage::FocusControl() const
{
    return lvwDataSource;
}

bool DataSourcePage::CanGoNext() const
{
    return SelectedEntry() != nullptr;
}

// --- location

LocationPage::LocationPage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraStepBody4"));
    txtLocation = new QLineEdit(this);
    txtLocation->setObjectName(QStringLiteral("txtLocation"));
    lblLocationPrompt = new QLabel(this);
    lblLocationPrompt->setObjectName(QStringLiteral("lblLocationPrompt"));
    lblLocationPrompt->setBuddy(txtLocation);
    cmdBrowseLocation = new QPushButton(QStringLiteral("B&rowse..."), this);
    cmdBrowseLocation->setObjectName(QStringLiteral("cmdBrowseLocation"));
    auto *oRow = new QHBoxLayout;
    oRow->addWidget(txtLocation, 1);
    oRow->addWidget(cmdBrowseLocation);
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(lblLocationPrompt);
    oLayout->addLayout(oRow);
    oLayout->addStretch(1);
    connect(txtLocation, &QLineEdit::textChanged, this, [this] { emit ButtonsMayChange(); });
    connect(cmdBrowseLocation, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { BrowseLocation(); }, QString::fromLatin1(kTitleWizard)); });
}

void LocationPage::SetLocation(const QString &sLocation)
{
    txtLocation->setText(sLocation);
}

QString LocationPage::Location() const
{
    return txtLocation->text();
}

void LocationPage::Enter(Direction, bool)
{
    static const QHash<SourceType, quint32> colPrompts{
        {SourceType::Access, 81327}, {SourceType::Excel, 81328}, {SourceType::Outlook, 81329},
        {SourceType::System, 81319}};
    const SourceType eType = Context().State->Source();
    lblLocationPrompt->setText(PromptText(colPrompts.value(eType)));
    // Files are typed or browsed; a folder is only chosen, and an ODBC name is fixed.
    const bool bTyped = eType == SourceType::Access || eType == SourceType::Excel;
    txtLocation->setReadOnly(!bTyped);
    cmdBrowseLocation->setEnabled(eType != SourceType::System);
}

bool LocationPage::Commit(Direction)
{
    // The frame applies the location: that tests the source, which is a job.
    return !txtLocation->text().isEmpty();
}

QWidget *LocationPage::FocusControl() const
{
    return cmdBrowseLocation;
}

bool LocationPage::CanGoNext() const
{
    return !txtLocation->text().isEmpty();
}

void LocationPage::BrowseLocation()
{
    ui::BusyPointer oBusy;
    const SourceType eType = Context().State->Source();
    const QString sLocation = txtLocation->text();
    const bool bFromDocuments = eType == SourceType::Outlook || sLocation.isEmpty();
    const QString sFolder = bFromDocuments ? DocumentsFolder() : FolderOfPath(sLocation);
    const QString sFile = bFromDocuments ? QString() : FileOfPath(sLocation);
    DVUser oUser;
    QString sChosen;
    switch (eType) {
    case SourceType::Access: sChosen = oUser.VisualGetAccessDatasource(Context().Window, sFolder, sFile); break;
    case SourceType::Excel: sChosen = oUser.VisualGetExcelDatasource(Context().Window, sFolder, sFile); break;
    case SourceType::Outlook: {
        std::shared_ptr<config::DataView> oView = Context().View;
        sChosen = GetOutlookFolderName(oUser.VisualSelectFolder(oView));
        Context().Window->activateWindow();
        break;
    }
    case SourceType::System: return;
    }
    if (sChosen.isEmpty())
        return;
    txtLocation->setText(sChosen);
    txtLocation->selectAll();
    Touched();
}

// --- data item

DataItemPage::DataItemPage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraStepBody5"));
    // A plain view over a string list: a source may have thousands of items,
    // and one reset shows them without an item object each.
    auto *oList = new QListView(this);
    oList->setModel(new QStringListModel(oList));
    oList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwDataItem = ListWithPrompt(this, oList, QStringLiteral("lvwDataItem"), QStringLiteral("lblDataItemPrompt"), 81321);
}

void DataItemPage::ShowItems(const QStringList &colSorted)
{
    auto *oModel = static_cast<QStringListModel *>(lvwDataItem->model());
    oModel->setStringList(colSorted);
    const qsizetype lCurrent = colSorted.indexOf(Context().View->DataItemName);
    lvwDataItem->setCurrentIndex(oModel->index(int(lCurrent)));
}

int DataItemPage::ItemCount() const
{
    return lvwDataItem->model()->rowCount();
}

void DataItemPage::Enter(Direction, bool) {}

bool DataItemPage::Commit(Direction)
{
    const QString sItem = SelectedItem();
    if (sItem.isEmpty())
        return false;
    config::DataView &oView = *Context().View;
    if (sItem != oView.DataItemName) {
        Touched();
        oView.DataItemName = sItem;
        oView.DataItemKind = 2;
        Context().State->SetReload(true);
    }
    return true;
}

QWidget *DataItemPage::FocusControl() const
{
    return lvwDataItem;
}

bool DataItemPage::CanGoNext() const
{
    return ItemCount() > 0;
}

bool DataItemPage::SelectedIsCurrent() const
{
    return SelectedItem() == Context().View->DataItemName;
}

QString DataItemPage::SelectedItem() const
{
    const QModelIndex oCurrent = lvwDataItem->currentIndex();
    return oCurrent.isValid() && lvwDataItem->selectionModel()->isSelected(oCurrent) ? oCurrent.data().toString()
                                                                                      : QString();
}

} // namespace qv::wizard
