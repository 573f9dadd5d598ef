#include "SampleSources.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>

#include <xlsxwriter.h>

namespace qv::samples {
namespace {

QString Save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

const QStringList kTasks{QStringLiteral("Send the quarterly figures"), QStringLiteral("Renew the Graz lease"),
                         QStringLiteral("Call Chloé about the Lyon order"), QStringLiteral("Review price list"),
                         QStringLiteral("Book the trade fair stand"), QStringLiteral("Update the catalogue")};

} // namespace

QString WriteSalesFileDsn(const QString &dsnPath, const QString &databasePath)
{
    // StepAPI reads rows as they are walked rather than the whole result first.
    const QString text = QStringLiteral("[ODBC]\nDriver=SQLite3\nDatabase=%1\nStepAPI=1\n").arg(databasePath);
    return Save(dsnPath, text.toUtf8());
}

QString WriteProductsXlsx(const QString &path)
{
    QFile::remove(path);
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *workbook = workbook_new(file.constData());
    if (!workbook)
        return QStringLiteral("%1: the workbook cannot be created").arg(path);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Price List");
    lxw_format *date = workbook_add_format(workbook);
    format_set_num_format(date, "yyyy-mm-dd");
    const char *headings[] = {"Code", "Product", "Unit Price", "In Stock", "Discontinued", "Added", "Note"};
    for (lxw_col_t c = 0; c < 7; ++c)
        worksheet_write_string(sheet, 0, c, headings[c], nullptr);
    QRandomGenerator random(20260103);
    for (lxw_row_t r = 1; r <= lxw_row_t(kProducts); ++r) {
        worksheet_write_string(sheet, r, 0, QStringLiteral("X-%1").arg(r, 4, 10, QLatin1Char('0')).toUtf8().constData(), nullptr);
        worksheet_write_string(sheet, r, 1, QStringLiteral("Größe %1 Ventil").arg(r % 9 + 1).toUtf8().constData(), nullptr);
        worksheet_write_number(sheet, r, 2, double(random.bounded(100, 99999)) / 100.0, nullptr);
        worksheet_write_number(sheet, r, 3, random.bounded(0, 500), nullptr);
        worksheet_write_boolean(sheet, r, 4, r % 11 == 0, nullptr);
        const QDate added = QDate(2021, 1, 1).addDays(random.bounded(1200));
        lxw_datetime when{added.year(), added.month(), added.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, r, 5, &when, date);
        // Some rows have no note: the cell stays empty and reads as Null.
        if (r % 4 == 0)
            worksheet_write_string(sheet, r, 6, "ships in two weeks", nullptr);
    }
    const lxw_error error = workbook_close(workbook);
    return error == LXW_NO_ERROR ? QString() : QStringLiteral("%1: %2").arg(path, QString::fromUtf8(lxw_strerror(error)));
}

QString WriteTasksFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.removeRecursively() || !QDir().mkpath(folder))
        return QStringLiteral("%1: the folder cannot be made").arg(folder);
    QRandomGenerator random(20260104);
    for (int i = 0; i < kTasks.size() * 3; ++i) {
        const QDate due = QDate(2026, 1, 5).addDays(int(random.bounded(300)));
        const bool done = i % 5 == 0;
        QString text = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//QVUser samples//EN\r\n"
                                      "BEGIN:VTODO\r\nUID:sample-task-%1\r\nDTSTAMP:20260101T090000Z\r\n"
                                      "SUMMARY:%2 (%3)\r\nDUE;VALUE=DATE:%4\r\nPRIORITY:%5\r\nSTATUS:%6\r\n"
                                      "PERCENT-COMPLETE:%7\r\nEND:VTODO\r\n")
                           .arg(i)
                           .arg(kTasks[i % kTasks.size()])
                           .arg(i / kTasks.size() + 1)
                           .arg(due.toString(QStringLiteral("yyyyMMdd")))
                           .arg(1 + i % 9)
                           .arg(done ? QStringLiteral("COMPLETED") : QStringLiteral("NEEDS-ACTION"))
                           .arg(done ? 100 : int(random.bounded(0, 90)));
        // An event beside the task, as calendar folders hold them: not a task.
        if (i % 6 == 0)
            text += QStringLiteral("BEGIN:VEVENT\r\nUID:sample-event-%1\r\nDTSTAMP:20260101T090000Z\r\n"
                                   "DTSTART:20260301T100000Z\r\nSUMMARY:Meeting %1\r\nEND:VEVENT\r\n")
                        .arg(i);
        text += QStringLiteral("END:VCALENDAR\r\n");
        const QString error = Save(dir.filePath(QStringLiteral("task-%1.ics").arg(i, 3, 10, QLatin1Char('0'))), text.toUtf8());
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString WriteHtmlPage(const QString &path)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Sample offices</title></head>"
                                  "<body><h1>Offices and opening hours</h1>\n<table id=\"Offices\"><caption>Offices</caption>"
                                  "<tr><th>City</th><th>Country</th><th>Staff</th><th>Opened</th></tr>\n");
    const char *offices[][4] = {{"Leeds", "United Kingdom", "42", "2004-03-01"}, {"Lagos", "Nigeria", "17", "2012-09-15"},
                                {"Lyon", "France", "23", "2008-05-20"},          {"Busan", "South Korea", "31", "2015-11-02"},
                                {"Graz", "Österreich", "9", "2019-01-07"}};
    for (const auto &o : offices)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>\n")
                    .arg(QString::fromUtf8(o[0]), QString::fromUtf8(o[1]), QString::fromUtf8(o[2]), QString::fromUtf8(o[3]));
    html += QStringLiteral("</table>\n<p>Hours are local time.</p>\n<table id=\"Hours\"><caption>Hours</caption>"
                           "<tr><th>Day</th><th>Opens</th><th>Closes</th></tr>\n"
                           "<tr><td>Monday to Friday</td><td>08:30</td><td>17:30</td></tr>\n"
                           "<tr><td>Saturday</td><td>09:00</td><td>13:00</td></tr>\n"
                           "<tr><td>Sunday</td><td colspan=\"2\">closed</td></tr>\n</table></body></html>\n");
    return Save(path, html.toUtf8());
}

} // namespace qv::samples
