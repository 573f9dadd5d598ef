#include "SelectionMemory.h"

#include "RowTable.h"

#include "qvuser/biz/Settings.h"

namespace qvdemo {

namespace {

void LinkVisibleColumnsUnlessKeyed(qv::biz::Settings &settings)
{
    if (!settings.Columns)
        return;
    for (const auto &column : *settings.Columns) {
        if (column && column->Linked)
            return;
    }
    for (const auto &column : *settings.Columns) {
        if (column && column->Visible)
            column->Linked = true;
    }
}

} // namespace

void SelectionMemory::Remember(const QString &textKey, const std::shared_ptr<qv::biz::Settings> &settings,
                               const std::shared_ptr<qv::ado::Recordset> &chosenRows)
{
    if (textKey.isEmpty())
        return;
    if (settings)
        LinkVisibleColumnsUnlessKeyed(*settings);
    m_byKey.insert(textKey, Remembered{settings, RecordsetXml(chosenRows)});
    m_lastKey = textKey;
}

Remembered SelectionMemory::Recall(const QString &textKey) const
{
    return m_byKey.value(textKey);
}

} // namespace qvdemo
