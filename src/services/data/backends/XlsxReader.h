#pragma once

#include "DataTable.h"

#include <memory>

namespace qv::data {

// An Excel workbook (.xlsx): its worksheets are the data items, in the
// workbook's order. Opening reads the package's workbook, shared strings
// and styles; a sheet is read when asked for.
class XlsxReader : public SourceReader
{
public:
    // Raises kErrorSourceUnreadable when the file is missing, is no zip
    // package, or lists a sheet the package does not hold.
    explicit XlsxReader(const QString &path);
    ~XlsxReader() override;

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;
    // A sheet's first rows before its end is read: its field types come from
    // its first records (see SheetStream).
    bool Streams() const override { return true; }
    void StreamItem(const QString &name, TableSink &sink) override;

private:
    struct Package;
    std::unique_ptr<Package> m_package;
};

} // namespace qv::data
