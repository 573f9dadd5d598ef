#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv {
class DataFormat;
}

// The display-field page's rules, without a widget: display names, the
// comparison of a data view's fields with its source's, and the report of
// fields the source no longer has.
namespace qv::wizard {

inline constexpr qsizetype kMaxDisplayName = 100;

// Errors of a display name.
inline constexpr qint32 kErrorDisplayNameChars = qint32(0x80040200);
inline constexpr qint32 kErrorDisplayNameTooLong = qint32(0x80040203);
inline constexpr qint32 kErrorDisplayNameTaken = qint32(0x80040204);
inline constexpr qint32 kErrorDisplayNameEmpty = qint32(0x80040208);

// True when no entry of `names` but the one at `skip` (-1: none) is `name`,
// compared without regard to case.
bool IsDisplayNameFree(const QStringList &names, const QString &name, qsizetype skip = -1);
// Raises kErrorDisplayNameChars when the name holds ">", "<", "'" or "&".
void CheckDisplayNameChars(const QString &name);
// Raises kErrorDisplayNameTaken when a row of the grid (`names`) already
// shows the name a new row would get.
void CheckNewDisplayName(const QStringList &names, const QString &name);
// The name a row keeps after its in-place edit (the typed text, trimmed);
// raises for an empty name (naming the row's field), a name another row
// has, or one over kMaxDisplayName characters.
QString CheckRenamedDisplayName(const QStringList &names, qsizetype row, const QString &fieldName,
                                const QString &typed);

// A field as the refresh compares it.
struct FieldSignature
{
    QString Name;
    int AdoType = 0;
    friend bool operator==(const FieldSignature &, const FieldSignature &) = default;
};

// What a refresh changes: the data view's fields that go (by name, in the
// data view's order) and the source's that come (in the source's order). A
// field whose type changed is in both.
struct FieldChanges
{
    QStringList Removed;
    QList<FieldSignature> Added;
    bool Any() const { return !Removed.isEmpty() || !Added.isEmpty(); }
};
// Names are compared without regard to case, types exactly.
FieldChanges CompareFields(const QList<FieldSignature> &view, const QList<FieldSignature> &source);

// The argument of the removed-fields message: a line break, then one name a
// line; past ten names the tenth ends in "..." and a last line says only the
// first ten are shown. Empty for no names.
QString RemovedFieldsText(const QStringList &displayNames);

// The formats the wizard offers: dates default to "General Date", times to
// "Short Time".
std::unique_ptr<DataFormat> MakeWizardFormat();

} // namespace qv::wizard
