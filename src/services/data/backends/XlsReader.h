#pragma once

#include "BiffWorkbook.h"
#include "DataTable.h"

#include <optional>

namespace qv::data {

// An Excel 5.0 to 2003 workbook (.xls): its worksheets are the data items.
// The workbook stream is taken out of its compound-document container once,
// when the file is opened, and only read afterwards; a sheet is read, or
// streamed, when it is asked for.
class XlsReader : public SourceReader
{
public:
    // Raises kErrorSourceUnreadable when the file is missing or no workbook.
    explicit XlsReader(const QString &path);

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;
    bool Streams() const override { return true; }
    void StreamItem(const QString &name, TableSink &sink) override;

private:
    // Raises kErrorNoSuchItem for a sheet the workbook does not hold.
    qsizetype SheetIndex(const QString &name) const;

    QString m_path;
    std::optional<BiffWorkbook> m_book;
};

} // namespace qv::data
