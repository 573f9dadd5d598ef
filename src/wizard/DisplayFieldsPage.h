#pragma once

#include "DisplayFieldModel.h"
#include "WizardPage.h"

#include <QStyledItemDelegate>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace qv {
class DataFormat;
}
namespace qv::config {
class Field;
}

namespace qv::wizard {

// Clears the combo and lists the data view's field names (only those not
// displayed with `excludeDisplayed`), in collection order; selects the
// named entry, else the first. Emits no signal while it fills.
void FillFieldCombo(QComboBox *combo, const config::DataView &view, bool excludeDisplayed,
                    const QString &select = {});

// The display-field grid's cells: the display name is edited in a line edit
// whose text the page checks once the edit is over; the format with the
// chooser cboFormat, which shows each choice's example while it is open;
// and the selected row's format cell shows a drop-down mark.
class DisplayFieldDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<QStringList(qint32 kind)> Formats;
    // A row's display name as typed (queued: the editor is gone by then).
    std::function<void(int row, QString typed)> Renamed;
    std::function<void(int row, QString format)> FormatChosen;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The wizard's display-field page: which fields the data view shows, in
// which order, under which name and format. It also brings the data view's
// fields in line with its source before the page shows (RefreshFields).
class DisplayFieldsPage : public WizardPage
{
    Q_OBJECT

public:
    DisplayFieldsPage(WizardContext &context, QWidget *parent);
    ~DisplayFieldsPage() override;

    // Rebuilds the grid and the field list when reloading, or when the last
    // RefreshFields changed the fields; not when coming back.
    void Enter(Direction eDirection, bool bReload) override;
    // Refuses an empty grid (message 81333); else writes the grid.
    bool Commit(Direction eDirection) override;
    // WriteDisplayFields; a refused display name is shown, the page is left anyway.
    void WriteBack() override;
    QWidget *FocusControl() const override;
    void RefreshControls() override;

    // Reads the working data view's fields from its source on a scratch data
    // view (through the wizard's fetch helper), drops the fields the source
    // no longer has (reporting them for an existing data view), adds its new
    // ones as not displayed, and calls `done` once it is over. For an existing
    // data view a failure is reported once and the stored fields stay
    // (true); for a new one it is reported and answers false; a cancel
    // answers false; `done` comes at once when there is nothing to read (an
    // existing data view whose source failed before). The frame calls it
    // before it shows the page, never while another fetch runs.
    void RefreshFields(std::function<void(bool bOk)> done);
    // Writes the grid into the working data view: its rows displayed, in
    // order, with their names and formats; the rest not displayed, after
    // them. Raises 0x80040200 for a display name with a forbidden character.
    void WriteDisplayFields();

    DisplayFieldModel *Model() const { return m_oModel; }

protected:
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;

private:
    void BuildControls();
    void ConnectControls();
    void Rebuild();
    void BuildDisplayFieldGrid();
    void AppendRow(const config::Field &oField, const QString &sDisplayName);
    QString FormatOf(const config::Field &oField, qint32 lKind) const;
    QString Example(const QString &sFormat, qint32 lKind) const;
    qint32 KindOf(const config::Field &oField) const;
    QStringList DisplayNames() const;
    QString KeyOf(int lRow) const;
    int SelectedRow() const;
    void SelectRow(int lRow);

    void OnFieldChosen();
    void DoDisplayAdd();
    void DoDisplayAddAll();
    void DoDisplayRemove();
    void DoDisplayRemoveAll();
    void MoveRow(int lBy);
    void StartRename();
    void OnRenamed(int lRow, const QString &sTyped);
    void OnFormatChosen(int lRow, const QString &sFormat);
    void CloseFormatChooser();
    void ApplySourceFields(const config::DataView &oSource, bool bExisting);
    void ReportRemovedFields(const QStringList &colDisplayNames);

    std::unique_ptr<DataFormat> m_oFormat;
    DisplayFieldModel *m_oModel = nullptr;
    DisplayFieldDelegate *m_oDelegate = nullptr;
    QTreeView *lvwDisplayField = nullptr;
    QComboBox *cboDisplayField = nullptr;
    QLineEdit *txtDisplayName = nullptr;
    QLabel *lblDisplayAdd = nullptr;
    QLabel *lblDisplayAs = nullptr;
    QPushButton *cmdDisplayAdd = nullptr;
    QPushButton *cmdDisplayAddAll = nullptr;
    QPushButton *cmdDisplayRemove = nullptr;
    QPushButton *cmdDisplayRemoveAll = nullptr;
    QPushButton *cmdDisplayMoveUp = nullptr;
    QPushButton *cmdDisplayMoveDown = nullptr;
    QPushButton *cmdRename = nullptr;
    bool m_bRemoving = false;
    bool m_bFieldsChanged = false; // the last refresh changed the fields: rebuild on entering
};

} // namespace qv::wizard
