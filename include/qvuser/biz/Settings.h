#pragma once

#include "ColumnSettings.h"

#include <QString>

#include <memory>

namespace qv::biz {

// The Insert Data choices of one data view, saved in the user's settings
// file under the data view's text key so that the next showing looks the same.
class Settings
{
public:
    QString DataViewName;
    QString DataViewKey; // the data view's text key
    qint32 DataViewType = -1; // 1 personal, 2 team
    bool FilterSet = false;
    QString FilterField;
    qint32 FilterOperator = 0; // an operator code 1-8
    QString FilterValue;
    qint32 FormatType = 2;     // the layout
    QString StyleName;
    qint32 InsertPosition = 2; // 0 replace, 1 before, 2 after
    std::shared_ptr<ColumnSettings> Columns = std::make_shared<ColumnSettings>();

    // Takes the saved choices of the data view; false (and nothing changed)
    // when none are saved.
    bool Load(const QString &textKey);
    // Saves the choices under DataViewKey and answers that key; "" when there
    // is no key to save under. Raises 70 when the file cannot be written.
    QString Save() const;
    // Forgets the saved choices of a data view (one that was deleted).
    static void Forget(const QString &textKey);

    // The settings file.
    static QString FilePath();
};

} // namespace qv::biz
