#pragma once

#include <QString>

#include <exception>
#include <string>

namespace qv {

// The name the runtime gives an error that is raised without a source of its own.
inline constexpr auto kRuntimeErrorSource = "QVUSER";

// Well-known runtime error numbers, with the texts the runtime gives them.
namespace vberr {
inline constexpr qint32 InvalidCall = 5;
inline constexpr qint32 Overflow = 6;
inline constexpr qint32 SubscriptOutOfRange = 9;
inline constexpr qint32 TypeMismatch = 13;
inline constexpr qint32 InvalidUseOfNull = 94;
inline constexpr qint32 ObjectRequired = 424;
inline constexpr qint32 NotSupported = 438;
inline constexpr qint32 DuplicateKey = 457;
inline constexpr qint32 ElementNotFound = 32811;
} // namespace vberr

// The runtime's own description of a standard error number ("" when it has none).
QString RuntimeErrorText(qint32 number);

// A COM error: number, source and description. This is the only exception type
// that leaves the system's code; everything inside throws it on failure.
class ComError : public std::exception
{
public:
    ComError(qint32 number, QString source, QString description);

    qint32 Number() const noexcept { return m_number; }
    const QString &Source() const noexcept { return m_source; }
    const QString &Description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

// A standard runtime error with its own text and the runtime's source.
ComError RuntimeError(qint32 number);

// The current error of this thread, like the language's Err object: set when a
// handler catches, read by the error procedures, cleared once shown.
struct ErrorState
{
    qint32 Number = 0;
    QString Source;
    QString Description;

    bool IsSet() const { return Number != 0; }
};

ErrorState &CurrentError();
void SetCurrentError(const ComError &error);
void ClearCurrentError();

// Raises the current error again, unchanged (error 5 when there is none).
[[noreturn]] void RethrowCurrentError();

} // namespace qv
