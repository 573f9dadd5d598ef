#include "SelectionMemory.h"

#include "RowTable.h"

namespace qvdemo {

void SelectionMemory::Remember(const QString &textKey, const std::shared_ptr<qv::biz::Settings> &settings,
                               const std::shared_ptr<qv::ado::Recordset> &chosenRows)
{
    if (textKey.isEmpty())
        return;
    m_byKey.insert(textKey, Remembered{settings, RecordsetXml(chosenRows)});
    m_lastKey = textKey;
}

Remembered SelectionMemory::Recall(const QString &textKey) const
{
    return m_byKey.value(textKey);
}

} // namespace qvdemo
