#pragma once

#include <QHash>
#include <QString>

#include <memory>

namespace qv::biz {
class Settings;
}
namespace qv::ado {
class Recordset;
}

namespace qvdemo {

// What the editor keeps of one data view's last Insert Data: the settings
// the dialog returned and the chosen rows as selected-rows XML.
struct Remembered
{
    std::shared_ptr<qv::biz::Settings> Settings;
    QString SelectedRowsXml;
};

// The editor's memory of Insert Data, keyed by the data view's text key, so
// that the next Insert Data on a data view starts with its rows ticked again.
class SelectionMemory
{
public:
    // Keeps the returned settings and the chosen (formatted) rows; a null
    // recordset forgets the rows but keeps the settings. Settings that name
    // no key columns get one: the first visible column when it tells the
    // chosen rows apart, else every visible column.
    void Remember(const QString &textKey, const std::shared_ptr<qv::biz::Settings> &settings,
                  const std::shared_ptr<qv::ado::Recordset> &chosenRows);
    // Nothing remembered: null settings and "".
    Remembered Recall(const QString &textKey) const;
    // The data view of the last Insert Data ("" before any).
    QString LastKey() const { return m_lastKey; }

private:
    QHash<QString, Remembered> m_byKey;
    QString m_lastKey;
};

} // namespace qvdemo
