#pragma once

#include "DataTable.h"

#include <memory>

namespace qv::data {

// An Access database (.mdb of JET 3 and 4, .accdb of ACE 12 and later): its
// user tables are the data items, in the database's order. A table is read
// whole when asked for. Saved queries cannot be run here, so they are not
// offered; one named anyway (by an older data view) says so.
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
