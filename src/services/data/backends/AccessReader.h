#pragma once

#include "DataTable.h"

#include <memory>

namespace qv::data {

// An Access database (.mdb of JET 3 and 4, .accdb of ACE 12 and later): its
// user tables and saved queries are the data items, tables first, each in
// the database's order. A table is read whole when asked for; a saved query
// is listed but cannot be run here, and says so.
class AccessReader : public SourceReader
{
public:
    // Raises kErrorSourceUnreadable when the file is missing or is no database.
    explicit AccessReader(const QString &path);
    ~AccessReader() override;

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;

private:
    struct Database;
    std::unique_ptr<Database> m_database;
};

} // namespace qv::data
