#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace qv::config {
class ConfigStore;
}

namespace qv::dialogs {

// Data view item keys: "LOCAL_ID=12" names a personal data view, "TEAM_ID=12"
// a team one (any kind but 1 is written as team).
QString PickerKey(qint32 lId, qint32 lKind);
// 1 for a personal key, 2 for a team key, 0 for neither (case ignored).
qint32 PickerKeyKind(const QString &sKey);
// The identifier a key names; 0 when it names none.
qint32 PickerKeyId(const QString &sKey);

// The Insert Data window's data view picker, as the window uses it: filled
// from both stores, chosen by item key, reporting the user's choices.
class SelectDataPicker
{
public:
    virtual ~SelectDataPicker() = default;

    virtual QWidget *Widget() = 0;
    // "(New Data View)" first, then the personal store's data views by name,
    // then the team store's; either store may be null.
    virtual void Fill(const config::ConfigStore *oPersonal, const config::ConfigStore *oTeam) = 0;
    // False (and nothing changed) when no entry has the key.
    virtual bool SelectKey(const QString &sKey) = 0;
    virtual QString SelectedKey() const = 0;
    virtual QString SelectedText() const = 0;
    virtual int Count() const = 0;
    // Called when the user chooses an entry; never while the picker fills.
    std::function<void()> OnChosen;
};

// The picker as a combo box with the personal and team pictures; its
// widget's object name is icboDataView.
std::unique_ptr<SelectDataPicker> MakeComboDataViewPicker(QWidget *oParent);

} // namespace qv::dialogs
