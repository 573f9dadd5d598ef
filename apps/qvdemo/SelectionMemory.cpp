#include "SelectionMemory.h"

#include "RowTable.h"

#include "qvuser/biz/Settings.h"

#include <QSet>

namespace qvdemo {

namespace {

bool Distinct(const QStringList &texts)
{
    return QSet<QString>(texts.begin(), texts.end()).size() == texts.size();
}

// The viewer finds rows again by their key columns. Unless the settings name
// some, the first visible column is the key when it tells the chosen rows
// apart (an id, a code); otherwise a row is the same row when all its shown
// texts are.
void ChooseKeyColumns(qv::biz::Settings &settings, const RowTable &chosen)
{
    if (!settings.Columns)
        return;
    std::shared_ptr<qv::biz::ColumnSetting> first;
    for (const auto &column : *settings.Columns) {
        if (column && column->Linked)
            return;
        if (column && column->Visible && !first)
            first = column;
    }
    const qsizetype index = first ? chosen.Headers.indexOf(first->Caption) : -1;
    if (index >= 0) {
        QStringList keys;
        for (const QStringList &row : chosen.Rows)
            keys.append(row.value(index));
        if (Distinct(keys)) {
            first->Linked = true;
            return;
        }
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
    const QString xml = RecordsetXml(chosenRows);
    if (settings)
        ChooseKeyColumns(*settings, RowsFromRecordset(chosenRows));
    m_byKey.insert(textKey, Remembered{settings, xml});
    m_lastKey = textKey;
}

Remembered SelectionMemory::Recall(const QString &textKey) const
{
    return m_byKey.value(textKey);
}

} // namespace qvdemo
