#include "DisplayFieldRules.h"

#include "biz/FieldKinds.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "format/DataFormat.h"

namespace qv::wizard {
namespace {

const QString kDisplayField = QStringLiteral("Display Field");
constexpr int kReportedFields = 10;

QString Source(const char *procedure)
{
    return QStringLiteral("frmDataViewWizard.") + QLatin1String(procedure);
}

} // namespace

bool IsDisplayNameFree(const QStringList &names, const QString &name, qsizetype skip)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i != skip && names[i].compare(name, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

void CheckDisplayNameChars(const QString &name)
{
    for (const QChar c : {u'>', u'<', u'\'', u'&'}) {
        if (name.contains(c))
            RaiseError(kErrorDisplayNameChars, Source("WriteDisplayFields"), LoadResString(81341));
    }
}

void CheckNewDisplayName(const QStringList &names, const QString &name)
{
    if (!IsDisplayNameFree(names, name))
        RaiseError(kErrorDisplayNameTaken, Source("DoDisplayAdd"), LoadResString(80004, {kDisplayField}));
}

QString CheckRenamedDisplayName(const QStringList &names, qsizetype row, const QString &fieldName,
                                const QString &typed)
{
    const QString name = typed.trimmed();
    const QString source = Source("lvwDisplayField_AfterLabelEdit");
    if (name.isEmpty())
        RaiseError(kErrorDisplayNameEmpty, source, LoadResString(80010, {fieldName}));
    if (!IsDisplayNameFree(names, name, row))
        RaiseError(kErrorDisplayNameTaken, source, LoadResString(80004, {kDisplayField}));
    if (name.size() > kMaxDisplayName)
        RaiseError(kErrorDisplayNameTooLong, source, LoadResString(80009, {kDisplayField}));
    return name;
}

FieldChanges CompareFields(const QList<FieldSignature> &view, const QList<FieldSignature> &source)
{
    const auto find = [](const QList<FieldSignature> &in, const QString &name) -> const FieldSignature * {
        for (const FieldSignature &f : in) {
            if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &f;
        }
        return nullptr;
    };
    FieldChanges changes;
    for (const FieldSignature &f : view) {
        const FieldSignature *there = find(source, f.Name);
        if (!there || there->AdoType != f.AdoType)
            changes.Removed << f.Name;
    }
    for (const FieldSignature &f : source) {
        const FieldSignature *here = find(view, f.Name);
        if (!here || here->AdoType != f.AdoType)
            changes.Added << f;
    }
    return changes;
}

QString RemovedFieldsText(const QStringList &displayNames)
{
    QString text;
    for (qsizetype i = 0; i < displayNames.size() && i < kReportedFields; ++i)
        text += QLatin1Char('\n') + displayNames[i];
    if (displayNames.size() > kReportedFields)
        text += QStringLiteral("...\n(displaying first 10 fields)");
    return text;
}

std::unique_ptr<DataFormat> MakeWizardFormat()
{
    auto format = std::make_unique<DataFormat>();
    format->SetFormatDefault(QStringLiteral("General Date"), FieldTypeDate);
    format->SetFormatDefault(QStringLiteral("Short Time"), FieldTypeTime);
    return format;
}

} // namespace qv::wizard
