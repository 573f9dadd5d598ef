#include "ColumnTypes.h"

#include "automation/OleDate.h"

#include <QHash>
#include <QSet>

namespace qv::data {

namespace {

enum KindBit : unsigned {
    kNumber = 1,
    kDate = 2,
    kBoolean = 4,
    kText = 8,
};

unsigned KindOf(const Variant &cell)
{
    switch (cell.Type()) {
    case VarType::Single:
    case VarType::Double:
    case VarType::Long:
    case VarType::LongLong:
    case VarType::Currency:
    case VarType::Decimal:
        return kNumber;
    case VarType::Date:
        return kDate;
    case VarType::Boolean:
        return kBoolean;
    default:
        return kText;
    }
}

bool RowIsBlank(const QList<Variant> &row)
{
    return std::all_of(row.cbegin(), row.cend(), IsBlankCell);
}

QStringList FieldNames(const QList<Variant> &header, qsizetype width)
{
    QStringList names;
    QSet<QString> taken;
    // The number each repeated name tries next: a header of one cell spanning
    // thousands of columns would otherwise try every number from 1 again.
    QHash<QString, int> nextNumber;
    for (qsizetype c = 0; c < width; ++c) {
        QString name = c < header.size() ? CellText(header[c]).trimmed() : QString();
        if (name.isEmpty())
            name = QStringLiteral("F%1").arg(c + 1);
        const QString base = name;
        int &n = nextNumber[base.toLower()];
        while (taken.contains(name.toLower()))
            name = base + QString::number(++n);
        taken.insert(name.toLower());
        names << name;
    }
    return names;
}

DataField FieldFor(const QString &name, unsigned kinds, qsizetype longestText)
{
    switch (kinds) {
    case kNumber:
        return {name, ado::adDouble, 8};
    case kDate:
        return {name, ado::adDate, 8};
    case kBoolean:
        return {name, ado::adBoolean, 2};
    default:
        if (longestText > kTextSize)
            return {name, ado::adLongVarWChar, kLongTextSize};
        return {name, ado::adVarWChar, kTextSize};
    }
}

unsigned KindOfField(int type)
{
    switch (type) {
    case ado::adDouble:
        return kNumber;
    case ado::adDate:
        return kDate;
    case ado::adBoolean:
        return kBoolean;
    default:
        return kText;
    }
}

} // namespace

bool IsBlankCell(const Variant &cell)
{
    if (cell.IsEmpty() || cell.IsNull())
        return true;
    const QString *text = cell.Get<QString>();
    return text && text->isEmpty();
}

Variant CellAsField(const DataField &field, Variant cell)
{
    if (IsBlankCell(cell))
        return Variant::Null();
    const unsigned kind = KindOf(cell);
    if (kind == KindOfField(field.Type))
        return cell;
    return Variant(CellText(cell));
}

QString CellText(const Variant &cell)
{
    if (const double *number = cell.Get<double>())
        return QString::number(*number, 'g', 15);
    if (const DateValue *date = cell.Get<DateValue>()) {
        const QDateTime when = OleDateToDateTime(date->Days);
        if (when.time() == QTime(0, 0))
            return when.date().toString(Qt::ISODate);
        return when.toString(Qt::ISODate);
    }
    if (const bool *flag = cell.Get<bool>())
        return *flag ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return cell.ToText();
}

QStringList GridSource::DataItems()
{
    QStringList names;
    for (const NamedGrid &grid : std::as_const(m_grids))
        names << grid.Name;
    return names;
}

DataTable GridSource::ReadItem(const QString &name)
{
    const qsizetype index = IndexOfName(DataItems(), name);
    if (index < 0)
        RaiseNoSuchItem(m_path, m_itemKind, name);
    return TableFromGrid(m_path, m_grids[index].Name, m_grids[index].Cells);
}

DataTable TableFromGrid(const QString &sourcePath, const QString &name, CellGrid grid, qsizetype maxCells)
{
    DataTable table;
    table.Name = name;
    qsizetype first = 0;
    while (first < grid.size() && RowIsBlank(grid[first]))
        ++first;
    qsizetype end = grid.size();
    while (end > first && RowIsBlank(grid[end - 1]))
        --end;
    if (first == end) {
        // An empty sheet is a data item with no rows; a recordset needs a
        // field, so it has the one an empty first column is named.
        table.Fields << DataField{QStringLiteral("F1")};
        return table;
    }

    qsizetype width = 0;
    for (qsizetype r = first; r < end; ++r) {
        qsizetype used = grid[r].size();
        while (used > 0 && IsBlankCell(grid[r][used - 1]))
            --used;
        width = std::max(width, used);
    }
    if (width * (end - first) > maxCells)
        RaiseUnreadable(sourcePath, QStringLiteral("the sheet '%1' spans %2 rows by %3 columns, more than can be read at once")
                                        .arg(name).arg(end - first).arg(width), Remedy::Smaller);

    const QStringList names = FieldNames(grid[first], width);
    for (qsizetype c = 0; c < width; ++c) {
        unsigned kinds = 0;
        qsizetype longest = 0;
        for (qsizetype r = first + 1; r < end; ++r) {
            const QList<Variant> &row = std::as_const(grid)[r];
            if (c >= row.size() || IsBlankCell(row[c]))
                continue;
            kinds |= KindOf(row[c]);
            if (const QString *text = row[c].Get<QString>())
                longest = std::max(longest, text->size());
        }
        if (kinds & (kinds - 1)) {
            // A mixed column becomes text; every value keeps its own text.
            for (qsizetype r = first + 1; r < end; ++r) {
                if (c < grid[r].size() && !IsBlankCell(grid[r][c])) {
                    grid[r][c] = Variant(CellText(grid[r][c]));
                    longest = std::max(longest, grid[r][c].Get<QString>()->size());
                }
            }
            kinds = kText;
        }
        table.Fields << FieldFor(names[c], kinds, longest);
    }

    table.Rows.reserve(end - first - 1);
    for (qsizetype r = first + 1; r < end; ++r) {
        DataRow row = std::move(grid[r]);
        row.resize(width);
        for (Variant &cell : row) {
            if (IsBlankCell(cell))
                cell = Variant::Null();
        }
        table.Rows << std::move(row);
    }
    return table;
}

} // namespace qv::data
