#pragma once

#include "FilterRules.h"
#include "WizardPage.h"

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace qv {
class DataFormat;
}
namespace qv::biz {
class ConfigFileSettings;
}
namespace qv::dialogs {
class ValueListCombo;
}

namespace qv::wizard {

// The wizard's filter page: the conditions a data view's rows must all
// meet, one row a condition (field, operator, value). The operators come
// from the configuration file settings; a field's values are fetched when
// the value list first opens.
class FilterPage : public WizardPage
{
    Q_OBJECT

public:
    FilterPage(WizardContext &context, QWidget *parent);
    ~FilterPage() override;

    // Fills the page from the working data view when reloading; not when
    // coming back. The frame clears its reload flag afterwards.
    void Enter(Direction eDirection, bool bReload) override;
    // With no condition after the value box was touched, asks 81325 first;
    // writes the conditions and warns (81326) of one on a field that is not
    // displayed.
    bool Commit(Direction eDirection) override;
    // WriteFilters.
    void WriteBack() override;
    QWidget *FocusControl() const override;
    void RefreshControls() override;

    // Replaces the working data view's conditions by the list; answers the
    // first field with a condition that is not displayed ("" when none).
    QString WriteFilters();
    // The list as shown.
    QList<FilterRow> Rows() const;

protected:
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;

private:
    void BuildControls();
    void ConnectControls();
    void FillPage();
    void FillOperatorCombo(const QString &sSelect);
    void BuildFilterList();
    void SetRows(const QList<FilterRow> &colRows);
    std::shared_ptr<config::Field> ChosenField() const;
    bool CanAddFilter() const;

    void OnFieldChosen();
    void OnValueListOpening();
    void LoadFilterValues();
    void ShowValues(const QList<QString> &colValues, const QString &sKeep);
    void AddFilter();
    void RemoveFilter();
    void RemoveAllFilters();

    std::unique_ptr<biz::ConfigFileSettings> m_oOperators;
    std::unique_ptr<DataFormat> m_oFormat;
    QTreeWidget *lvwFilterField = nullptr;
    QLabel *lblFilterWhere = nullptr;
    QComboBox *cboFilterField = nullptr;
    QComboBox *cboFilterOperator = nullptr;
    dialogs::ValueListCombo *cboFilterValue = nullptr;
    QPushButton *cmdFilterAdd = nullptr;
    QPushButton *cmdFilterRemove = nullptr;
    QPushButton *cmdFilterRemoveAll = nullptr;
    bool m_bPageReady = false;
    bool m_bValueTouched = false;
    bool m_bValuesLoaded = false;
};

} // namespace qv::wizard
