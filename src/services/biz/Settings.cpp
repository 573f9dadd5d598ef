#include "Settings.h"

#include "BizFolders.h"

#include <QDir>
#include <QSettings>

namespace qv::biz {
namespace {

// Groups are the text keys; QSettings would read a slash as a subgroup.
QString Group(const QString &textKey)
{
    return QString::fromLatin1(textKey.toUtf8().toPercentEncoding());
}

QVariant ToStored(const Variant &value)
{
    if (const bool *b = value.Get<bool>())
        return *b;
    if (const double *d = value.Get<double>())
        return *d;
    if (const qint32 *n = value.Get<qint32>())
        return *n;
    return value.ToText();
}

void WriteColumns(QSettings &file, const ColumnSettings &columns)
{
    file.beginWriteArray(QStringLiteral("Columns"), columns.Count());
    int i = 0;
    for (const auto &column : columns) {
        file.setArrayIndex(i++);
        for (const QString &name : ColumnSetting::PropertyNames())
            file.setValue(name, ToStored(column->Property(name)));
    }
    file.endArray();
}

// Reads a stored value as the kind the property has (QSettings writes numbers
// in the C locale, whatever the user's); a value of the wrong kind in a
// hand-edited file leaves that property at its default.
void ReadColumn(QSettings &file, ColumnSetting &column)
{
    for (const QString &name : ColumnSetting::PropertyNames()) {
        const QVariant stored = file.value(name);
        if (!stored.isValid())
            continue;
        const Variant current = column.Property(name);
        bool ok = true;
        Variant value;
        if (current.Get<double>())
            value = Variant(stored.toDouble(&ok));
        else if (current.Get<qint32>())
            value = Variant(qint32(stored.toInt(&ok)));
        else if (current.Get<bool>())
            value = Variant(stored.toBool());
        else
            value = Variant(stored.toString());
        if (ok)
            column.SetProperty(name, value);
    }
}

std::shared_ptr<ColumnSettings> ReadColumns(QSettings &file)
{
    auto columns = std::make_shared<ColumnSettings>();
    const int count = file.beginReadArray(QStringLiteral("Columns"));
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        auto column = std::make_shared<ColumnSetting>();
        ReadColumn(file, *column);
        if (!column->Caption.isEmpty() && !columns->Item(column->Caption))
            columns->Add(column, column->Caption);
    }
    file.endArray();
    return columns;
}

int IntOf(const QSettings &file, const char *key, int fallback)
{
    bool ok = false;
    const int n = file.value(QLatin1String(key)).toInt(&ok);
    return ok ? n : fallback;
}

} // namespace

QString Settings::FilePath()
{
    return QDir(UserDataFolder()).filePath(QStringLiteral("Insert Data Settings.ini"));
}

bool Settings::Load(const QString &textKey)
{
    if (textKey.isEmpty())
        return false;
    QSettings file(FilePath(), QSettings::IniFormat);
    if (!file.childGroups().contains(Group(textKey)))
        return false;
    file.beginGroup(Group(textKey));
    DataViewKey = textKey;
    DataViewName = file.value(QStringLiteral("DataViewName")).toString();
    DataViewType = IntOf(file, "DataViewType", -1);
    FilterSet = file.value(QStringLiteral("FilterSet")).toBool();
    FilterField = file.value(QStringLiteral("FilterField")).toString();
    FilterOperator = IntOf(file, "FilterOperator", 0);
    FilterValue = file.value(QStringLiteral("FilterValue")).toString();
    FormatType = IntOf(file, "FormatType", 2);
    StyleName = file.value(QStringLiteral("StyleName")).toString();
    InsertPosition = IntOf(file, "InsertPosition", 2);
    Columns = ReadColumns(file);
    file.endGroup();
    return true;
}

QString Settings::Save() const
{
    if (DataViewKey.isEmpty())
        return {};
    QSettings file(FilePath(), QSettings::IniFormat);
    file.remove(Group(DataViewKey));
    file.beginGroup(Group(DataViewKey));
    file.setValue(QStringLiteral("DataViewName"), DataViewName);
    file.setValue(QStringLiteral("DataViewType"), DataViewType);
    file.setValue(QStringLiteral("FilterSet"), FilterSet);
    file.setValue(QStringLiteral("FilterField"), FilterField);
    file.setValue(QStringLiteral("FilterOperator"), FilterOperator);
    file.setValue(QStringLiteral("FilterValue"), FilterValue);
    file.setValue(QStringLiteral("FormatType"), FormatType);
    file.setValue(QStringLiteral("StyleName"), StyleName);
    file.setValue(QStringLiteral("InsertPosition"), InsertPosition);
    WriteColumns(file, Columns ? *Columns : ColumnSettings());
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError)
        RaiseCannotWrite(file.fileName(), QStringLiteral("the folder is missing or may not be changed"));
    return DataViewKey;
}

void Settings::Forget(const QString &textKey)
{
    if (textKey.isEmpty())
        return;
    QSettings file(FilePath(), QSettings::IniFormat);
    file.remove(Group(textKey));
}

} // namespace qv::biz
