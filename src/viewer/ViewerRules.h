#pragma once

#include "automation/NumberDigits.h"
#include "biz/ColumnSettings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace qv::config {
class Field;
}

namespace qv {

class DataFormat;
struct LocaleFacts;

// The decisions of the data viewer that need no window: which columns can be
// totalled, how a column sorts, which header icon it shows, how chosen rows
// are found again. A column's kind (ColumnSetting::ColumnType) is the field
// kind of the data view field it shows.
namespace viewer {

// The tag of the leading check-box column and the marker inside item tags.
inline constexpr auto kCheckBoxTag = "CHECKBOX";
inline constexpr auto kRawBookmarkMarker = "RAWBM";
inline constexpr auto kRawBookmarkField = "DataViewRawBookMark";
// Every text field the viewer writes: adVarWChar of 500 characters.
inline constexpr int kTextFieldSize = 500;
inline constexpr int kRowLimit = 2000;
// Rows added before the list is first shown to the user.
inline constexpr int kFirstVisibleRows = 41;
inline constexpr int kCheckBoxColumnTwips = 350;

enum class SortKind { Text, Decimal, Date };

// Number, currency, percent and scientific columns sum up; the rest do not.
bool CanBeTotalled(qint32 lColumnType);
// The field kind a column's total is formatted as: the column's own (a
// percent total shows as a percent), number for a kind that does not sum.
qint32 TotalFieldType(qint32 lColumnType);
SortKind SortKindOf(qint32 lColumnType);
// Numbers, money and dates read right-aligned, so that their digits line up.
inline bool AlignsRight(qint32 lColumnType) { return SortKindOf(lColumnType) != SortKind::Text; }
// A cell text this long gets its whole text as a tooltip: its column may
// well be too narrow for it.
inline constexpr int kTooltipChars = 40;

// The header image of a column: 0 sorted descending, 1 ascending, 2 totalled,
// 3 linked, the later rule winning; -1 for none.
int HeaderIconIndex(const biz::ColumnSetting &oSetting);

// A fresh setting for a shown data view field: visible, not sorted, totalled
// 1 where the kind sums up.
std::shared_ptr<biz::ColumnSetting> NewColumnSetting(const config::Field &oField);

// True when both exist, have as many settings and every current name is
// among the new ones: the user's layout then carries over.
bool SettingsMatch(const biz::ColumnSettings *oCurrent, const biz::ColumnSettings *oNew);

// Applied pending a sort: the setting with a sort state other than -1.
std::shared_ptr<biz::ColumnSetting> SortedSetting(const biz::ColumnSettings &oSettings);

// The captions of the settings whose Linked is True, in collection order.
QStringList LinkedCaptions(const biz::ColumnSettings &oSettings);

// The tag of a list item: its display bookmark, "RAWBM" and its source
// bookmark ("12RAWBM12").
QString ItemTag(qint32 lDisplayBookmark, const QString &sRawBookmark);

// The number of a cell: its typed value, else the value's or the cell's text
// read as the user writes numbers, a trailing "%" meaning hundredths.
bool CellNumber(const Variant &oValue, const QString &sText, const LocaleFacts &oFacts, NumberDigits &oOut);

// A sort key of one cell: cells without a key (no number, no date) sort
// before every other; numbers by their exact value, dates by their
// canonical text.
struct SortKey
{
    bool bHasKey = false;
    NumberDigits oNumber;
    QString sDate;
};
// Keys for a column from its typed values (Empty where a row has none) and
// its texts; hold a LocaleScope around a whole column.
std::vector<SortKey> SortKeys(const QList<QString> &colTexts, const QList<Variant> &colValues, SortKind eKind,
                              const DataFormat &oFormat);
bool SortKeyLess(const SortKey &a, const SortKey &b);

// Case-insensitive multiset of row keys still waiting to be re-selected.
class PreselectionKeys
{
public:
    void Add(const QString &sKey);
    // Removes one match of the key (compared without regard to case).
    bool TakeMatch(const QString &sKey);
    bool IsEmpty() const { return m_lCount == 0; }

private:
    QSet<QString> m_exact; // duplicates are ignored as written
    QHash<QString, int> m_keys;
    int m_lCount = 0;
};

} // namespace viewer
} // namespace qv
