#pragma once

#include "AdoEnums.h"
#include "qvuser/automation/Variant.h"

#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace qv::ado {

class Recordset;

// What a field is, shared by a recordset and its clones.
struct FieldInfo
{
    QString Name;
    qint32 Type = adVarWChar;
    qint32 DefinedSize = 0;
    qint32 Attributes = adFldUnspecified;
    quint8 Precision = 0;
    quint8 NumericScale = 0;
    // Extended properties ("BASECOLUMNNAME", "BASETABLENAME", "KEYCOLUMN"...),
    // names compared without regard to case.
    QList<std::pair<QString, Variant>> Properties;

    // True when the field may hold Null (attributes unspecified or nullable).
    bool AcceptsNull() const;
};

// The value `value` as the field's type stores it: texts for text fields,
// numbers converted for number fields, dates read from text; Empty becomes
// Null. Raises adErrDataConversion when the value does not convert.
Variant CoerceToField(const FieldInfo &field, const Variant &value);

// One field of a recordset: its definition and its value in the recordset's
// current row. Belongs to the recordset (each clone has its own Field objects,
// since each has its own current row).
class Field
{
public:
    const QString &Name() const { return Info().Name; }
    qint32 Type() const { return Info().Type; }
    qint32 DefinedSize() const { return Info().DefinedSize; }
    qint32 Attributes() const { return Info().Attributes; }
    quint8 Precision() const { return Info().Precision; }
    quint8 NumericScale() const { return Info().NumericScale; }

    // The value in the current row (or in the row being added or edited).
    // Raises adErrNoCurrentRecord at BOF or EOF.
    Variant Value() const;
    // Changes the value in the current row, converted to the field's type;
    // the change is kept by Update (or by moving away) and dropped by
    // CancelUpdate.
    void SetValue(const Variant &value);

    // Properties(name).Value: an extended property, Empty when the field has
    // none of that name.
    Variant Property(const QString &name) const;
    void SetProperty(const QString &name, const Variant &value);

private:
    friend class Fields;
    Field(Recordset *recordset, qint32 index) : m_recordset(recordset), m_index(index) {}
    const FieldInfo &Info() const;

    Recordset *m_recordset;
    qint32 m_index;
};

// The fields of a recordset, in order; found by 0-based index or by name
// without regard to case.
class Fields
{
public:
    // Adds a field to a closed recordset. Raises adErrObjectOpen on an open
    // one, adErrObjectInCollection for a name that is there already and
    // adErrInvalidArgument for an empty name or an unknown type.
    void Append(const QString &name, qint32 type, qint32 definedSize = 0,
                qint32 attributes = adFldUnspecified);

    qint32 Count() const;
    // Raises adErrItemNotFound for an index out of range or an unknown name.
    Field &Item(qint32 index);
    Field &Item(const QString &name);
    // A number is an index, a text a name.
    Field &Item(const Variant &indexOrName);
    Field &Item(const char *name) { return Item(QString::fromUtf8(name)); }
    Field &operator[](qint32 index) { return Item(index); }
    Field &operator[](const QString &name) { return Item(name); }
    Field &operator[](const char *name) { return Item(name); }

    // The index of a field, -1 when there is none of that name.
    qint32 IndexOf(const QString &name) const;

private:
    friend class Recordset;
    explicit Fields(Recordset *recordset) : m_recordset(recordset) {}
    // Keeps one Field object per definition of the shared store.
    void Sync();

    Recordset *m_recordset;
    std::vector<std::unique_ptr<Field>> m_items;
};

} // namespace qv::ado
