#include "SourceRules.h"

#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/ConnectionText.h"
#include "scripting/Dictionary.h"

#include <algorithm>

namespace qv::wizard {

qint32 SourceTypeCode(SourceType eType)
{
    switch (eType) {
    case SourceType::Access: return 6;
    case SourceType::Excel: return 4;
    case SourceType::Outlook: return 1;
    case SourceType::System: return 3;
    }
    return 0;
}

bool SourceTypeOfKey(const QString &sKey, SourceType &eType)
{
    for (SourceType eCandidate : {SourceType::Access, SourceType::Excel, SourceType::Outlook}) {
        if (sKey == SourceTypeText(eCandidate)) {
            eType = eCandidate;
            return true;
        }
    }
    eType = SourceType::System;
    return false;
}

namespace {

// A data source's entries of one kind; a file data source's text loses its ".dsn".
void AddDataSources(QList<DataSourceEntry> &colEntries, const Dictionary &dctSources, const QString &sPrefix,
                    const QString &sSuffix, bool bFile)
{
    for (const Variant &vKey : dctSources.Keys()) {
        const QString sKey = vKey.ToText();
        QString sText = dctSources.Item(vKey).ToText();
        if (sText.isEmpty())
            sText = sKey;
        if (bFile)
            sText.remove(QStringLiteral(".dsn"), Qt::CaseInsensitive);
        colEntries.append({sPrefix + sKey, sText + sSuffix, SourceType::System});
    }
}

} // namespace

QList<DataSourceEntry> DataSourceEntries(const Dictionary &dctUser, const Dictionary &dctSystem,
                                         const Dictionary &dctFile, bool bFoldersAvailable)
{
    QList<DataSourceEntry> colOdbc;
    AddDataSources(colOdbc, dctUser, QStringLiteral("User:"), QStringLiteral(" (User)"), false);
    AddDataSources(colOdbc, dctSystem, QStringLiteral("System:"), QStringLiteral(" (System)"), false);
    AddDataSources(colOdbc, dctFile, QStringLiteral("File:"), QStringLiteral(" (File)"), true);
    std::stable_sort(colOdbc.begin(), colOdbc.end(), [](const DataSourceEntry &a, const DataSourceEntry &b) {
        return a.Text.compare(b.Text, Qt::CaseInsensitive) < 0;
    });
    QList<DataSourceEntry> colEntries{
        {QStringLiteral("ACCESS"), LoadResString(81322), SourceType::Access},
        {QStringLiteral("EXCEL"), LoadResString(81323), SourceType::Excel},
    };
    if (bFoldersAvailable)
        colEntries.append({QStringLiteral("OUTLOOK"), LoadResString(81324), SourceType::Outlook});
    return colEntries + colOdbc;
}

int SelectedDataSourceEntry(const QList<DataSourceEntry> &colEntries, SourceType eType, const QString &sLocation)
{
    for (int i = 0; i < colEntries.size(); ++i) {
        const DataSourceEntry &oEntry = colEntries.at(i);
        if (eType != SourceType::System ? oEntry.Key == SourceTypeText(eType)
                                        : oEntry.Type == SourceType::System && LocationOfKey(oEntry.Key) == sLocation)
            return i;
    }
    return 0;
}

QString LocationOfKey(const QString &sKey)
{
    const qsizetype lColon = sKey.indexOf(u':');
    return lColon < 0 ? QString() : sKey.mid(lColon + 1);
}

QString GetLocationFromDataView(const config::DataView &oView)
{
    if (oView.Source.Kind == 1)
        return oView.DataItemName;
    QString sText = oView.Source.ConnectionText;
    for (const QString &sCut : {QStringLiteral(";Extended Properties=Excel 8.0;"), QStringLiteral(";UID=")}) {
        const qsizetype lAt = sText.indexOf(sCut);
        if (lAt >= 0)
            sText.truncate(lAt);
    }
    for (const QString &sPrefix : {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source="),
                                   QStringLiteral("Provider=MSDASQL;DSN="), QStringLiteral("File Name=")}) {
        const qsizetype lAt = sText.indexOf(sPrefix);
        if (lAt >= 0)
            return sText.mid(lAt + sPrefix.size());
    }
    return sText;
}

QString GetOutlookFolderName(const QString &sText)
{
    return data::FolderSourceValue(sText, QStringLiteral("FolderName"), QStringLiteral("StoreID"));
}

QString GetOutlookFolderType(const QString &sText)
{
    return data::FolderSourceValue(sText, QStringLiteral("FolderType"), QStringLiteral("FolderName"));
}

bool IsContactOrTaskFolder(const QString &sText)
{
    const QString sType = GetOutlookFolderType(sText);
    return sType.compare(QLatin1String("Contact"), Qt::CaseInsensitive) == 0
           || sType.compare(QLatin1String("Task"), Qt::CaseInsensitive) == 0;
}

} // namespace qv::wizard
