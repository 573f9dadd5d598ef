#pragma once

#include <QtGlobal>

namespace qv {

namespace config {
class Field;
}

// The kinds of field a data view shows; the numbers are stored in data view
// definitions and never change.
enum QuorivoFieldType : qint32 {
    FieldTypeNone = 0,
    FieldTypeText = 1,
    FieldTypeNumber = 2,
    FieldTypeCurrency = 3,
    FieldTypePercent = 4,
    FieldTypeDate = 5,
    FieldTypeTime = 6,
    FieldTypeBoolean = 7,
    FieldTypeMemo = 8,
    FieldTypeBooleanAlt = 9,
    FieldTypeScientific = 10,
};

namespace biz {

// The kind a field of this ADO type formats, totals, sorts and filters as;
// FieldTypeNone for types no kind shows (binary, GUID). The data services
// give loaded fields their kind with it, DataFormat answers with it.
qint32 FieldKindOfAdoType(int adoType);

// Gives a field without a kind the kind of its ADO type. A kind the user
// chose (a number field shown as a percent) stays.
void GiveFieldKind(config::Field &field);

} // namespace biz
} // namespace qv
