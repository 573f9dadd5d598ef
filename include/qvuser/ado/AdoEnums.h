#pragma once

#include <QtGlobal>

// ADO's enumerations with their own numbers, so that code written against the
// ADO object model (and values stored by it, such as field types in files)
// reads the same here.
namespace qv::ado {

// Field types (DataTypeEnum).
enum DataTypeEnum : qint32 {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarNumeric = 139,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

// Field attributes (FieldAttributeEnum), a bit set; adFldUnspecified lets the
// recordset choose (a fabricated field then takes any value, Null included).
enum FieldAttributeEnum : qint32 {
    adFldUnspecified = -1,
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
    adFldRowID = 0x100,
    adFldRowVersion = 0x200,
    adFldKeyColumn = 0x8000,
};

enum ObjectStateEnum : qint32 { adStateClosed = 0, adStateOpen = 1 };

enum PersistFormatEnum : qint32 { adPersistADTG = 0, adPersistXML = 1 };

// Filter groups; only adFilterNone means something for a client recordset.
enum FilterGroupEnum : qint32 { adFilterNone = 0 };

// AbsolutePosition outside the rows.
enum PositionEnum : qint32 { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

enum EditModeEnum : qint32 { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };

enum StreamTypeEnum : qint32 { adTypeBinary = 1, adTypeText = 2 };
enum StreamReadEnum : qint32 { adReadAll = -1, adReadLine = -2 };
enum StreamWriteEnum : qint32 { adWriteChar = 0, adWriteLine = 1 };
enum SaveOptionsEnum : qint32 { adSaveCreateNotExist = 1, adSaveCreateOverWrite = 2 };

// Error numbers (ErrorValueEnum) as the language reports them.
enum ErrorValueEnum : qint32 {
    adErrInvalidArgument = 3001,
    adErrNoCurrentRecord = 3021,
    adErrIllegalOperation = 3219,
    adErrFeatureNotAvailable = 3251,
    adErrItemNotFound = 3265,
    adErrObjectInCollection = 3367,
    adErrDataConversion = 3421,
    adErrObjectClosed = 3704,
    adErrObjectOpen = 3705,
    adErrOperationCancelled = 3712,
    adErrFileNotFound = 3002,
    adErrWriteFile = 3004,
};

// A persisted recordset that cannot be read (malformed XML, an unknown
// schema): the persistence provider's own failure code.
inline constexpr qint32 kErrBadPersistedRecordset = qint32(0x80004005);

} // namespace qv::ado
