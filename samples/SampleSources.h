#pragma once

#include <QString>

namespace qv::samples {

// The sample rows are made from a fixed seed, so every run writes the same sources.
inline constexpr int kCustomers = 250;
inline constexpr int kOrders = 2000;
inline constexpr int kProducts = 120;
inline constexpr int kContacts = 40;

// Each writer answers "" on success, else what went wrong.
// Customers and Orders tables; needs Qt's SQLite driver.
QString WriteSalesDatabase(const QString &path);
// A SpreadsheetML 2003 workbook with a Products sheet.
QString WriteProductsWorkbook(const QString &path);
// One vCard 3.0 file a contact.
QString WriteContactsFolder(const QString &folder);

} // namespace qv::samples
