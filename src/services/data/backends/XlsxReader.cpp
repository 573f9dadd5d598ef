#include "XlsxReader.h"

#include "SheetStream.h"
#include "XlsxSheetParser.h"
#include "XmlChecks.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <quazip.h>
#include <quazipfile.h>

namespace qv::data {

namespace {

// A part bigger than this when unpacked is refused rather than read.
constexpr qint64 kMaxPartSize = qint64(2) << 30;
// A sheet read whole is unpacked into memory first up to this size.
constexpr qint64 kWholePartSize = qint64(256) << 20;

struct SheetEntry
{
    QString Name;
    QString Part;
};

QString ResolveTarget(const QString &fromPart, const QString &target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    const QString folder = QFileInfo(fromPart).path();
    return QDir::cleanPath(folder == u"." ? target : folder + u'/' + target);
}

QString RelsPathOf(const QString &part)
{
    const QFileInfo info(part);
    const QString folder = info.path() == u"." ? QString() : info.path() + u'/';
    return folder + QStringLiteral("_rels/") + info.fileName() + QStringLiteral(".rels");
}

class Zip
{
public:
    explicit Zip(const QString &path) : m_path(path), m_zip(path)
    {
        QFile file(path);
        OpenSourceFile(file);
        if (!m_zip.open(QuaZip::mdUnzip))
            RaiseUnreadable(path, QStringLiteral("it is not an Excel workbook (.xlsx): it cannot be opened as a zip "
                                                 "package (error %1); check that the file is whole")
                                      .arg(m_zip.getZipError()));
    }

    bool Has(const QString &part) { return m_zip.setCurrentFile(part, QuaZip::csInsensitive); }

    // Calls read(device) on the unpacked part; false when there is no such part.
    template<typename Read>
    bool ReadPart(const QString &part, Read read)
    {
        if (!Has(part))
            return false;
        QuaZipFileInfo64 info;
        if (m_zip.getCurrentFileInfo(&info) && info.uncompressedSize > quint64(kMaxPartSize))
            RaiseUnreadable(m_path, QStringLiteral("its part %1 unpacks to more than 2 GB").arg(part), Remedy::Smaller);
        QuaZipFile file(&m_zip);
        if (!file.open(QIODevice::ReadOnly))
            RaiseUnreadable(m_path, QStringLiteral("its part %1 cannot be unpacked (error %2); the file is damaged")
                                        .arg(part)
                                        .arg(file.getZipError()), Remedy::Resave);
        read(&file);
        return true;
    }

private:
    const QString &m_path;
    QuaZip m_zip;
};

// The targets of a part's relationships, by id and by the last word of their
// type ("officeDocument", "sharedStrings"; the first of a type wins).
struct Relationships
{
    QHash<QString, QString> ById;
    QHash<QString, QString> ByType;
};

Relationships ReadRelationships(Zip &zip, const QString &path, const QString &fromPart)
{
    Relationships targets;
    const QString relsPart = RelsPathOf(fromPart);
    zip.ReadPart(relsPart, [&](QIODevice *device) {
        QXmlStreamReader xml(device);
        while (!xml.atEnd()) {
            if (NextXmlToken(xml, path, relsPart) != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
                continue;
            const auto attributes = xml.attributes();
            if (attributes.value(QLatin1String("TargetMode")) == u"External")
                continue;
            const QString target = ResolveTarget(fromPart, attributes.value(QLatin1String("Target")).toString());
            targets.ById.insert(attributes.value(QLatin1String("Id")).toString(), target);
            const auto type = attributes.value(QLatin1String("Type"));
            const QString typeWord = type.mid(type.lastIndexOf(u'/') + 1).toString();
            if (!targets.ByType.contains(typeWord))
                targets.ByType.insert(typeWord, target);
        }
    });
    return targets;
}

} // namespace

struct XlsxReader::Package
{
    QString Path;
    QList<SheetEntry> Sheets;
    XlsxContext Context;

    // Raises kErrorNoSuchItem for a sheet the workbook does not list.
    const SheetEntry &Sheet(const QString &name) const;
};

XlsxReader::XlsxReader(const QString &path) : m_package(std::make_unique<Package>())
{
    m_package->Path = path;
    Zip zip(path);
    const QString workbookPart = ReadRelationships(zip, path, QString())
                                     .ByType.value(QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml"));
    const Relationships targets = ReadRelationships(zip, path, workbookPart);

    const bool hasWorkbook = zip.ReadPart(workbookPart, [&](QIODevice *device) {
        QXmlStreamReader xml(device);
        while (!xml.atEnd()) {
            if (NextXmlToken(xml, path, workbookPart) != QXmlStreamReader::StartElement)
                continue;
            const auto attributes = xml.attributes();
            if (xml.name() == u"workbookPr") {
                const auto flag = attributes.value(QLatin1String("date1904"));
                m_package->Context.Date1904 = flag == u"1" || flag == u"true";
            } else if (xml.name() == u"sheet") {
                QString id;
                for (const auto &attribute : attributes) {
                    if (attribute.name() == u"id")
                        id = attribute.value().toString();
                }
                m_package->Sheets << SheetEntry{attributes.value(QLatin1String("name")).toString(), targets.ById.value(id)};
            }
        }
    });
    if (!hasWorkbook)
        RaiseUnreadable(path, QStringLiteral("it is not an Excel workbook: the package holds no workbook part (%1)")
                                  .arg(workbookPart), Remedy::Resave);
    if (m_package->Sheets.isEmpty())
        RaiseUnreadable(path, QStringLiteral("the workbook lists no worksheets"), Remedy::Resave);
    for (const SheetEntry &sheet : std::as_const(m_package->Sheets)) {
        if (sheet.Part.isEmpty() || !zip.Has(sheet.Part))
            RaiseUnreadable(path, QStringLiteral("the workbook lists the sheet '%1', but the file does not hold it "
                                                 "(the file is damaged; open it in Excel and save it again)")
                                      .arg(sheet.Name));
    }
    zip.ReadPart(targets.ByType.value(QStringLiteral("sharedStrings"), QStringLiteral("xl/sharedStrings.xml")),
                 [&](QIODevice *device) { m_package->Context.SharedStrings = ParseXlsxSharedStrings(path, device); });
    zip.ReadPart(targets.ByType.value(QStringLiteral("styles"), QStringLiteral("xl/styles.xml")),
                 [&](QIODevice *device) { m_package->Context.DateFormats = ParseXlsxDateFormats(path, device); });
}

XlsxReader::~XlsxReader() = default;

QStringList XlsxReader::DataItems()
{
    QStringList names;
    for (const SheetEntry &sheet : std::as_const(m_package->Sheets))
        names << sheet.Name;
    return names;
}

const SheetEntry &XlsxReader::Package::Sheet(const QString &name) const
{
    const auto sheet = std::find_if(Sheets.cbegin(), Sheets.cend(),
                                    [&](const SheetEntry &entry) { return entry.Name.compare(name, Qt::CaseInsensitive) == 0; });
    if (sheet == Sheets.cend())
        RaiseNoSuchItem(Path, QStringLiteral("sheet"), name);
    return *sheet;
}

DataTable XlsxReader::ReadItem(const QString &name)
{
    const SheetEntry &sheet = m_package->Sheet(name);
    Zip zip(m_package->Path);
    CellGrid grid;
    zip.ReadPart(sheet.Part, [&](QIODevice *device) {
        if (device->size() > kWholePartSize) {
            grid = ParseXlsxSheet(m_package->Path, device, m_package->Context);
            return;
        }
        // Unpacked at once, the XML is tokenised from memory rather than a
        // block at a time through the zip device: a fifth faster.
        QByteArray xml = device->readAll();
        QBuffer buffer(&xml);
        buffer.open(QIODevice::ReadOnly);
        grid = ParseXlsxSheet(m_package->Path, &buffer, m_package->Context);
    });
    return TableFromGrid(m_package->Path, sheet.Name, std::move(grid));
}

void XlsxReader::StreamItem(const QString &name, TableSink &sink)
{
    // Each call unpacks the sheet through a zip handle of its own: the
    // package read at opening is only read from here.
    const SheetEntry &sheet = m_package->Sheet(name);
    Zip zip(m_package->Path);
    zip.ReadPart(sheet.Part, [&](QIODevice *device) {
        SheetStream rows(m_package->Path, sheet.Name, QStringLiteral("a worksheet"), sink);
        StreamXlsxSheet(m_package->Path, device, m_package->Context, rows);
    });
}

} // namespace qv::data
