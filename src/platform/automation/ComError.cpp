#include "ComError.h"

namespace qv {

QString RuntimeErrorText(qint32 number)
{
    switch (number) {
    case vberr::InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case vberr::Overflow: return QStringLiteral("Overflow");
    case vberr::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case vberr::TypeMismatch: return QStringLiteral("Type mismatch");
    case vberr::InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case vberr::ObjectRequired: return QStringLiteral("Object required");
    case vberr::NotSupported: return QStringLiteral("Object doesn't support this property or method");
    case vberr::DuplicateKey:
        return QStringLiteral("This key is already associated with an element of this collection");
    case vberr::ElementNotFound: return QStringLiteral("Element not found");
    default: return {};
    }
}

ComError::ComError(qint32 number, QString source, QString description)
    : m_number(number)
    , m_source(std::move(source))
    , m_description(std::move(description))
{
    m_what = QStringLiteral("0x%1 %2: %3")
                 .arg(quint32(m_number), 8, 16, QLatin1Char('0'))
                 .arg(m_source, m_description)
                 .toStdString();
}

ComError RuntimeError(qint32 number)
{
    return ComError(number, QString::fromLatin1(kRuntimeErrorSource), RuntimeErrorText(number));
}

ErrorState &CurrentError()
{
    thread_local ErrorState state;
    return state;
}

void SetCurrentError(const ComError &error)
{
    ErrorState &state = CurrentError();
    state.Number = error.Number();
    state.Source = error.Source();
    state.Description = error.Description();
}

void ClearCurrentError()
{
    CurrentError() = ErrorState{};
}

void RethrowCurrentError()
{
    const ErrorState &state = CurrentError();
    if (!state.IsSet())
        throw RuntimeError(vberr::InvalidCall);
    throw ComError(state.Number, state.Source, state.Description);
}

} // namespace qv
