#pragma once

#include "automation/Variant.h"

#include <QString>

#include <memory>
#include <vector>

namespace qv::ado {

class RowStore;

// A criteria text of the Filter property, read once and then tested against
// rows. The language: comparisons `Field op value` with op one of = <> < >
// <= >= LIKE, joined by AND and OR (AND binding closer) and grouped with
// parentheses. Field names with spaces go in [brackets]. Values are 'texts'
// or "texts" (a doubled quote stands for itself), #dates# (2024-05-31,
// 5/31/2024, with an optional time), numbers (a $ sign allowed), True, False
// and Null (with = and <> only). LIKE takes * or % as wildcards at either
// end or both. Texts compare without regard to case; a Null field value
// equals only Null.
class Criteria
{
public:
    // Reads `text` against the store's fields; raises adErrInvalidArgument
    // with a description of the fault and where it is.
    static std::shared_ptr<const Criteria> Parse(const QString &text, const RowStore &store);

    bool Matches(const RowStore &store, qint32 row) const;

    const QString &Text() const { return m_text; }

    struct Node;
    ~Criteria();

private:
    Criteria() = default;
    QString m_text;
    std::unique_ptr<Node> m_root;
};

} // namespace qv::ado
