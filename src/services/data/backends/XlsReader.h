#pragma once

#include "DataTable.h"

namespace qv::data {

// An Excel 97-2003 workbook (.xls, BIFF 2 to 8): its worksheets are the data
// items. The file is read once, when it is opened.
class XlsReader : public SourceReader
{
public:
    // Raises kErrorSourceUnreadable when the file is missing or no workbook.
    explicit XlsReader(const QString &path);
    ~XlsReader() override;

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;

private:
    QString m_path;
    const void *m_handle = nullptr;
    QStringList m_sheets;
};

} // namespace qv::data
