#pragma once

// The data view picker: a combo with icons listing the data views of one
// configuration store, each entry keyed "LOCAL_ID=12" or "TEAM_ID=12".

#include <QString>

#include <Qt>

class QComboBox;
class QIcon;

namespace qv::config {
class ConfigStore;
class DataViews;
} // namespace qv::config

namespace qv {

inline constexpr auto kNewDataView = "(New Data View)";
inline constexpr auto kNoneAvailable = "(None available)";
inline constexpr auto kPopulating = "POPULATING";
inline constexpr auto kImgLocal = "IMG_LOCAL";
inline constexpr auto kImgTeam = "IMG_TEAM";

// Where an entry keeps its key and its image key.
inline constexpr int kPickerKeyRole = Qt::UserRole;
inline constexpr int kPickerImageRole = Qt::UserRole + 1;

// "LOCAL_ID=" + id for kind 1, "TEAM_ID=" + id for any other kind.
QString MakeDataViewKey(qint32 lId, qint32 lKind);
// 1 when the key holds "LOCAL_ID=", else 2 when it holds "TEAM_ID=", else 0
// (anywhere in the key, without regard to case).
qint32 DataViewKeyKind(const QString &sKey);
// The identifier after the prefix of the kind (0: the key's own kind); 0 for
// a kind other than 1 or 2 or a text that is no number.
qint32 DataViewKeyId(const QString &sKey, qint32 lKind = 0);

// The picture of an image key ("IMG_LOCAL", "IMG_TEAM").
QIcon PickerImage(const QString &sImageKey);
// "IMG_LOCAL" for kind 1, "IMG_TEAM" for others.
QString PickerImageKey(qint32 lKind);

// The combo's tag: "POPULATING" while it is filled, "" after. Handlers of its
// signals ignore what happens while it is filled.
QString PickerTag(const QComboBox *oCombo);
bool IsPopulating(const QComboBox *oCombo);

// The key of an entry ("" for the special entries).
QString PickerKey(const QComboBox *oCombo, int index);
int FindPickerKey(const QComboBox *oCombo, const QString &sKey);

// Adds the data views sorted by name without regard to case, keyed by kind.
void AddDataViewItems(QComboBox *oCombo, const config::DataViews &colDataViews, qint32 lKind);
// Refills the combo from one store: "(New Data View)" first when bAllowNew,
// then its data views, or "(None available)" when it has none and new ones
// are not allowed. Selects the entry of lSelectId (0: none), or the first
// entry when it is not there.
void FillDataViewPicker(QComboBox *oCombo, const config::ConfigStore &oStore, bool bAllowNew, qint32 lKind,
                        qint32 lSelectId = 0);

} // namespace qv
