#include "AdoError.h"

#include "AdoEnums.h"

namespace qv::ado {

namespace {

QString StandardText(qint32 number)
{
    switch (number) {
    case adErrInvalidArgument:
        return QStringLiteral("An argument is of the wrong type or out of range.");
    case adErrNoCurrentRecord:
        return QStringLiteral("There is no current record: the position is before the first or after the last row.");
    case adErrIllegalOperation:
        return QStringLiteral("The operation is not allowed in the object's present state.");
    case adErrFeatureNotAvailable:
        return QStringLiteral("The recordset cannot do this.");
    case adErrItemNotFound:
        return QStringLiteral("No item has this name or index.");
    case adErrObjectInCollection:
        return QStringLiteral("An item of this name is in the collection already.");
    case adErrDataConversion:
        return QStringLiteral("The value cannot be converted to the field's type.");
    case adErrObjectClosed:
        return QStringLiteral("The object is closed.");
    case adErrObjectOpen:
        return QStringLiteral("The object is open already.");
    case adErrOperationCancelled:
        return QStringLiteral("The operation was cancelled.");
    default:
        return QStringLiteral("The recordset operation failed.");
    }
}

} // namespace

ComError AdoError(qint32 number, const QString &detail, const char *source)
{
    return ComError(number, QString::fromLatin1(source), detail.isEmpty() ? StandardText(number) : detail);
}

} // namespace qv::ado
