// Writes the generated workbooks of the data tests and benchmarks with
// libxlsxwriter. It runs as its own process: libxlsxwriter and QuaZip both
// carry minizip's zip functions under the same names, so the two cannot share
// one process.
//   make_workbook kinds PATH        every cell kind, see tst_spreadsheets.cpp
//   make_workbook large PATH ROWS   ROWS records of 10 columns
#include <xlsxwriter.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void WriteKinds(lxw_workbook *book)
{
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Données 数据");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format *stamp = workbook_add_format(book);
    format_set_num_format(stamp, "yyyy-mm-dd hh:mm");
    lxw_format *days = workbook_add_format(book);
    format_set_num_format(days, "#,##0.00 \"days\"");
    const char *headers[] = {"Text", "Number", "Date", "Stamp", "Flag", "Mixed", "Long", "Amount", "Late text"};
    for (int c = 0; c < 9; ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), headers[c], nullptr);
    const std::string longText(400, 'L');
    lxw_datetime when = {2024, 2, 29, 0, 0, 0};
    lxw_datetime at = {2024, 3, 1, 13, 30, 0};
    for (lxw_row_t r = 1; r <= 1000; ++r) {
        worksheet_write_string(sheet, r, 0, ("Zeile " + std::to_string(r)).c_str(), nullptr);
        worksheet_write_number(sheet, r, 1, r * 0.5, nullptr);
        worksheet_write_datetime(sheet, r, 2, &when, date);
        worksheet_write_datetime(sheet, r, 3, &at, stamp);
        worksheet_write_boolean(sheet, r, 4, r % 2, nullptr);
        if (r % 2)
            worksheet_write_number(sheet, r, 5, r, nullptr);
        else
            worksheet_write_string(sheet, r, 5, "x", nullptr);
        worksheet_write_string(sheet, r, 6, r == 7 ? longText.c_str() : "short", nullptr);
        worksheet_write_number(sheet, r, 7, 1234.5, days);
        if (r == 1000)
            worksheet_write_string(sheet, r, 8, "late", nullptr);
        else
            worksheet_write_number(sheet, r, 8, r, nullptr);
    }
    workbook_add_worksheet(book, "Empty");
}

void WriteLarge(lxw_workbook *book, long rows)
{
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Orders");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd");
    const char *headers[] = {"Id", "Customer", "City", "Product", "Quantity", "Price", "Total", "Ordered", "Paid", "Note"};
    for (int c = 0; c < 10; ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), headers[c], nullptr);
    const char *cities[] = {"Lyon", "Zürich", "München", "Kraków", "Sevilla"};
    for (lxw_row_t r = 1; r <= lxw_row_t(rows); ++r) {
        worksheet_write_number(sheet, r, 0, r, nullptr);
        worksheet_write_string(sheet, r, 1, ("Customer " + std::to_string(r % 5000)).c_str(), nullptr);
        worksheet_write_string(sheet, r, 2, cities[r % 5], nullptr);
        worksheet_write_string(sheet, r, 3, ("Product " + std::to_string(r % 300)).c_str(), nullptr);
        worksheet_write_number(sheet, r, 4, r % 17 + 1, nullptr);
        worksheet_write_number(sheet, r, 5, (r % 1000) / 8.0, nullptr);
        worksheet_write_number(sheet, r, 6, (r % 17 + 1) * ((r % 1000) / 8.0), nullptr);
        lxw_datetime when = {2020 + int(r % 5), 1 + int(r % 12), 1 + int(r % 28), 0, 0, 0};
        worksheet_write_datetime(sheet, r, 7, &when, date);
        worksheet_write_boolean(sheet, r, 8, r % 3 == 0, nullptr);
        worksheet_write_string(sheet, r, 9, r % 10 ? "" : "call first", nullptr);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    lxw_workbook *book = workbook_new(argv[2]);
    if (!book)
        return 1;
    if (std::strcmp(argv[1], "kinds") == 0)
        WriteKinds(book);
    else if (std::strcmp(argv[1], "large") == 0 && argc == 4)
        WriteLarge(book, std::atol(argv[3]));
    else
        return 2;
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}
