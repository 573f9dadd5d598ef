#include "SampleSources.h"

#include <QDate>
#include <QDir>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>
#include <QXmlStreamWriter>

#ifdef QV_SAMPLES_SQL
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#endif

namespace qv::samples {
namespace {

const QStringList kFirst{QStringLiteral("Ada"), QStringLiteral("Bruno"), QStringLiteral("Chloé"),
                         QStringLiteral("Dmitri"), QStringLiteral("Eun-ji"), QStringLiteral("Farah"),
                         QStringLiteral("Gustav"), QStringLiteral("Hana"), QStringLiteral("Ivan"),
                         QStringLiteral("Jun"), QStringLiteral("Kofi"), QStringLiteral("Lucía")};
const QStringList kLast{QStringLiteral("Lindqvist"), QStringLiteral("Okafor"), QStringLiteral("Marchand"),
                        QStringLiteral("Volkov"), QStringLiteral("Park"), QStringLiteral("O'Neill"),
                        QStringLiteral("Nakamura"), QStringLiteral("Schmidt"), QStringLiteral("Haddad")};
const QStringList kCities{QStringLiteral("Leeds"), QStringLiteral("Lagos"), QStringLiteral("Lyon"),
                          QStringLiteral("Riga"), QStringLiteral("Busan"), QStringLiteral("Porto"),
                          QStringLiteral("Graz"), QStringLiteral("Osaka")};
const QStringList kProductWords{QStringLiteral("Widget"), QStringLiteral("Bracket"), QStringLiteral("Valve"),
                                QStringLiteral("Sensor"), QStringLiteral("Cable"), QStringLiteral("Panel")};

QString Pick(QRandomGenerator &random, const QStringList &words)
{
    return words[int(random.bounded(quint32(words.size())))];
}

QString PersonName(int i)
{
    return kFirst[i % kFirst.size()] + QLatin1Char(' ') + kLast[(i / kFirst.size()) % kLast.size()];
}

QString Save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

void Cell(QXmlStreamWriter &xml, const char *type, const QString &value)
{
    xml.writeStartElement(QStringLiteral("Cell"));
    xml.writeStartElement(QStringLiteral("Data"));
    xml.writeAttribute(QStringLiteral("ss:Type"), QLatin1String(type));
    xml.writeCharacters(value);
    xml.writeEndElement();
    xml.writeEndElement();
}

// vCard text values escape backslashes, commas and semicolons.
QString VCardText(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char(','), QLatin1String("\\,"))
        .replace(QLatin1Char(';'), QLatin1String("\\;"));
}

} // namespace

QString WriteSalesDatabase(const QString &path)
{
#ifdef QV_SAMPLES_SQL
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return QStringLiteral("Qt's SQLite driver is not installed (libqt6sql6-sqlite)");
    QFile::remove(path);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("samples"));
        db.setDatabaseName(path);
        if (!db.open())
            return db.lastError().text();
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TABLE Customers (Id INTEGER PRIMARY KEY, Name VARCHAR(80), City VARCHAR(40), "
                              "CustomerSince DATE, CreditLimit DOUBLE)"));
        q.exec(QStringLiteral("CREATE TABLE Orders (Id INTEGER PRIMARY KEY, CustomerId INTEGER, OrderDate DATE, "
                              "Amount DOUBLE, Shipped BOOLEAN)"));
        db.transaction();
        QRandomGenerator random(20260101);
        q.prepare(QStringLiteral("INSERT INTO Customers VALUES (?, ?, ?, ?, ?)"));
        for (int i = 1; i <= kCustomers; ++i) {
            q.addBindValue(i);
            q.addBindValue(PersonName(i));
            q.addBindValue(Pick(random, kCities));
            q.addBindValue(QDate(2010, 1, 1).addDays(random.bounded(5000)).toString(Qt::ISODate));
            q.addBindValue(double(random.bounded(100, 500)) * 100.0);
            if (!q.exec())
                failure = q.lastError().text();
        }
        q.prepare(QStringLiteral("INSERT INTO Orders VALUES (?, ?, ?, ?, ?)"));
        for (int i = 1; i <= kOrders && failure.isEmpty(); ++i) {
            q.addBindValue(i);
            q.addBindValue(1 + int(random.bounded(kCustomers)));
            q.addBindValue(QDate(2022, 1, 1).addDays(random.bounded(1000)).toString(Qt::ISODate));
            q.addBindValue(double(random.bounded(100000)) / 100.0);
            q.addBindValue(random.bounded(2));
            if (!q.exec())
                failure = q.lastError().text();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("samples"));
    return failure;
#else
    Q_UNUSED(path);
    return QStringLiteral("built without Qt's SQL module");
#endif
}

QString WriteProductsWorkbook(const QString &path)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeProcessingInstruction(QStringLiteral("mso-application"), QStringLiteral("progid=\"Excel.Sheet\""));
    xml.writeStartElement(QStringLiteral("Workbook"));
    xml.writeDefaultNamespace(QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"));
    xml.writeNamespace(QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"), QStringLiteral("ss"));
    xml.writeStartElement(QStringLiteral("Worksheet"));
    xml.writeAttribute(QStringLiteral("ss:Name"), QStringLiteral("Products"));
    xml.writeStartElement(QStringLiteral("Table"));
    xml.writeStartElement(QStringLiteral("Row"));
    for (const char *heading : {"Code", "Product", "Unit Price", "In Stock", "Added"})
        Cell(xml, "String", QLatin1String(heading));
    xml.writeEndElement();
    QRandomGenerator random(20260102);
    for (int i = 1; i <= kProducts; ++i) {
        xml.writeStartElement(QStringLiteral("Row"));
        Cell(xml, "String", QStringLiteral("P-%1").arg(i, 4, 10, QLatin1Char('0')));
        Cell(xml, "String", Pick(random, kProductWords) + QStringLiteral(" ") + QString::number(i * 7 % 97));
        Cell(xml, "Number", QString::number(double(random.bounded(100, 99999)) / 100.0, 'f', 2));
        Cell(xml, "Number", QString::number(random.bounded(0, 500)));
        Cell(xml, "DateTime", QDate(2020, 1, 1).addDays(random.bounded(1500)).toString(Qt::ISODate)
                                  + QStringLiteral("T00:00:00.000"));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return Save(path, bytes);
}

QString WriteContactsFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("%1: the folder cannot be created").arg(folder);
    QRandomGenerator random(20260103);
    for (int i = 1; i <= kContacts; ++i) {
        const QString first = kFirst[i % kFirst.size()];
        const QString last = kLast[(i / kFirst.size()) % kLast.size()];
        const QString city = Pick(random, kCities);
        QStringList lines{
            QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0"),
            QStringLiteral("UID:sample-contact-%1").arg(i),
            QStringLiteral("N:%1;%2;;;").arg(VCardText(last), VCardText(first)),
            QStringLiteral("FN:%1 %2").arg(VCardText(first), VCardText(last)),
            QStringLiteral("ORG:%1 Trading\\, Ltd.").arg(VCardText(last)),
            QStringLiteral("EMAIL;TYPE=INTERNET:%1.%2@example.org").arg(first.toLower(), QString::number(i)),
            QStringLiteral("TEL;TYPE=WORK:+44 113 496 %1").arg(1000 + i),
            QStringLiteral("ADR;TYPE=WORK:;;%1 Market Street;%2;;;").arg(i).arg(VCardText(city)),
            QStringLiteral("CATEGORIES:%1").arg(i % 3 == 0 ? QStringLiteral("Clients") : QStringLiteral("Suppliers")),
            QStringLiteral("END:VCARD")};
        const QString error = Save(QDir(folder).filePath(QStringLiteral("contact-%1.vcf").arg(i, 3, 10, QLatin1Char('0'))),
                                   (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace qv::samples
