#include "FieldKinds.h"

#include "config/ConfigObjects.h"

namespace qv::biz {

qint32 FieldKindOfAdoType(int adoType)
{
    switch (adoType) {
    case 2: case 3: case 4: case 5: case 14: case 16: case 17: case 18: case 19: case 20: case 21:
    case 131: case 139:
        return FieldTypeNumber;
    case 6: return FieldTypeCurrency;
    case 7: case 133: case 135: return FieldTypeDate;
    case 64: case 134: return FieldTypeTime;
    case 8: case 129: case 130: case 200: case 201: case 202: case 203: return FieldTypeText;
    case 11: return FieldTypeBoolean;
    default: return FieldTypeNone;
    }
}

void GiveFieldKind(config::Field &field)
{
    if (field.DataKind == FieldTypeNone)
        field.DataKind = FieldKindOfAdoType(field.AdoType);
}

} // namespace qv::biz
