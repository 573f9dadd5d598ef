#pragma once

#include "SourceRules.h"
#include "WizardPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qv::wizard {

// The first page: what the wizard is for, and "skip this page next time".
class WelcomePage : public WizardPage
{
    Q_OBJECT

public:
    WelcomePage(WizardContext &context, QWidget *parent);
    void Enter(Direction eDirection, bool bReload) override;
    // Keeps the user's choice in the registry ("SkipWelcome").
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override { return nullptr; }

private:
    QLabel *lblWelcomeTitle = nullptr;
    QLabel *lblWelcomeDescription = nullptr;
    QCheckBox *chkSkipWelcome = nullptr;
};

// A blank data view or a copy of an existing one.
class TemplatePage : public WizardPage
{
    Q_OBJECT

public:
    TemplatePage(WizardContext &context, QWidget *parent);
    // Fills the data view picker (new data views only).
    void FillPicker(qint32 lConfigFileType);
    void Enter(Direction eDirection, bool bReload) override;
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override;
    void RefreshControls() override;
    // The template's name (the picker's text), "" for a blank data view.
    QString TemplateName() const;

private:
    QRadioButton *optTemplateNew = nullptr;
    QRadioButton *optTemplateExisting = nullptr;
    QComboBox *icboDataView = nullptr;
};

// The kind of data source: Access, Excel, the folders, the ODBC data sources.
class DataSourcePage : public WizardPage
{
    Q_OBJECT

public:
    DataSourcePage(WizardContext &context, QWidget *parent);
    // Lists what the machine has and selects the working data view's source.
    void Populate();
    void Enter(Direction eDirection, bool bReload) override;
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override;
    bool CanGoNext() const override;
    // The selected entry; nullptr when none is.
    const DataSourceEntry *SelectedEntry() const;

private:
    QListWidget *lvwDataSource = nullptr;
    QList<DataSourceEntry> m_colEntries;
};

// Where the file or folder is; ODBC sources show their name, read-only.
class LocationPage : public WizardPage
{
    Q_OBJECT

public:
    LocationPage(WizardContext &context, QWidget *parent);
    void SetLocation(const QString &sLocation);
    QString Location() const;
    void Enter(Direction eDirection, bool bReload) override;
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override;
    bool CanGoNext() const override;
    // The Browse button's work: the file pickers or the folder chooser.
    void BrowseLocation();
    QPushButton *BrowseButton() const { return cmdBrowseLocation; }

private:
    QLabel *lblLocationPrompt = nullptr;
    QLineEdit *txtLocation = nullptr;
    QPushButton *cmdBrowseLocation = nullptr;
};

// The table, query, view, sheet or range inside the source.
class DataItemPage : public WizardPage
{
    Q_OBJECT

public:
    DataItemPage(WizardContext &context, QWidget *parent);
    // Shows these names, sorted by the listing job, and selects the data view's own item.
    void ShowItems(const QStringList &colSorted);
    int ItemCount() const;
    void Enter(Direction eDirection, bool bReload) override;
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override;
    bool CanGoNext() const override;
    // For an existing data view: the selected item is still its own.
    bool SelectedIsCurrent() const;
    // The selected item's name; "" when none is selected.
    QString SelectedItem() const;

private:
    QListView *lvwDataItem = nullptr;
};

// The last page: the data view's name and description.
class FinishPage : public WizardPage
{
    Q_OBJECT

public:
    FinishPage(WizardContext &context, QWidget *parent);
    // The page's texts: the base name is the edited data view's or the template's.
    void Fill(const QString &sBaseName);
    void Enter(Direction eDirection, bool bReload) override;
    bool Commit(Direction eDirection) override;
    QWidget *FocusControl() const override;
    QString TypedName() const;
    QLineEdit *NameBox() const { return txtName; }

private:
    QLabel *lblFinishTitle = nullptr;
    QLabel *lblFinishDescription = nullptr;
    QLineEdit *txtName = nullptr;
    QPlainTextEdit *txtDescription = nullptr;
    QString m_sBaseName;
};

} // namespace qv::wizard
