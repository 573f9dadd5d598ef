#include "ManagerDetails.h"

#include "ManagerNodes.h"
#include "common/basErrorHandling.h"
#include "config/ConfigStore.h"

namespace qv::manager {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// What the pane says of several items, or of none, in a folder.
struct SummaryTexts
{
    const char *sSeveral, *sNoneTeam, *sNonePersonal, *sNoneOther;
    int lSecondIndent;
};

// Writes the paragraph for several selected items or for none; false when
// exactly one item is selected, whose own details follow.
bool WriteSummary(DetailsText &oText, const SummaryTexts &oTexts, qint32 lParentType, const QString &sId,
                  int lSelected)
{
    if (lSelected >= 2) {
        oText.Append(QString::number(lSelected) + QString::fromLatin1(oTexts.sSeveral), false, 200, 0);
        return true;
    }
    if (!sId.isEmpty())
        return false;
    const char *sNone = lParentType == TeamRoot       ? oTexts.sNoneTeam
                        : lParentType == PersonalRoot ? oTexts.sNonePersonal
                                                      : oTexts.sNoneOther;
    oText.Append(QString::fromLatin1(sNone) + kCrLf, false, 200, oTexts.lSecondIndent);
    return true;
}

void WriteDataViewDetails(DetailsText &oText, const config::ConfigStore *oStore, qint32 lParentType,
                          const QString &sId, int lSelected)
{
    const SummaryTexts oTexts{" Data Views are selected.", "There are no Data Views in Team Data Views.",
                              "There are no Data Views in Personal Data Views.", "There are no Data Views be selected.",
                              0};
    if (WriteSummary(oText, oTexts, lParentType, sId, lSelected))
        return;
    const auto oView = oStore ? oStore->DataViewCollection().Item(sId.toInt()) : nullptr;
    if (!oView) {
        oText.Append(QStringLiteral("There is no information about the selected Data View.") + kCrLf, false, 200, 0);
        return;
    }
    oText.Append(oView->Name + kCrLf, true, 200, 100);
    if (!oView->Description.isEmpty())
        oText.Append(oView->Description + kCrLf, false, 200, 0);
    oText.Append(kCrLf + QStringLiteral("Details: ") + GetSourceLocation(oView->Source.ConnectionText, oView->Source.Kind)
                     + kCrLf + kCrLf,
                 false, 200, 0);
}

void WriteRecognizer(DetailsText &oText, const config::Recognizer &oRecognizer)
{
    QString sSource;
    if (const auto oView = oRecognizer.DataView()) {
        sSource = QStringLiteral("Data View: ") + oView->Name + kCrLf;
        if (const auto oField = oRecognizer.Field())
            sSource += QStringLiteral("Field: ") + oField->Name + kCrLf + kCrLf;
    }
    oText.Append(sSource, false, 400, 0);
    if (oRecognizer.Included.Count() >= 1)
        oText.Append(QStringLiteral("Included Terms: ") + kCrLf, false, 400, 0);
    oText.Append(ShortList(oRecognizer.Included.Terms()), false, 800, 0);
    if (oRecognizer.Excluded.Count() >= 1)
        oText.Append(QStringLiteral("Excluded Terms: ") + kCrLf, false, 400, 0);
    oText.Append(ShortList(oRecognizer.Excluded.Terms()), false, 800, 0);
}

void WriteSmartTagDetails(DetailsText &oText, const config::ConfigStore *oStore, qint32 lParentType,
                          const QString &sId, int lSelected)
{
    const SummaryTexts oTexts{" Data View Smart Tags are selected.",
                              "There are no Data View Smart Tags in Team Data Views.",
                              "There are no Data View Smart Tags in Personal Data Views.",
                              "There are no Data View Smart Tags be selected.", 200};
    if (WriteSummary(oText, oTexts, lParentType, sId, lSelected))
        return;
    const auto oTag = oStore && oStore->SmartTagSets().Count() >= 1 ? oStore->SmartTagSets().Item(1)->Item(sId.toInt())
                                                                  : nullptr;
    if (!oTag) {
        oText.Append(QStringLiteral("There is no information about the selected Data View Smart Tag.") + kCrLf, false,
                     200, 200);
        return;
    }
    oText.Append(oTag->Name + kCrLf, true, 200, 200);
    if (!oTag->Description.isEmpty())
        oText.Append(oTag->Description + kCrLf, false, 0, 200);
    oText.Append(kCrLf, false, 200, 200);
    oText.Append(QStringLiteral("Recognizer Information") + kCrLf, true, 200, 200);
    WriteRecognizer(oText, oTag->Recognizer);
    oText.Append(QStringLiteral("Actions") + kCrLf, true, 200, 200);
    QStringList colActions;
    for (const auto &oAction : oTag->Actions)
        colActions << oAction->DisplayText;
    oText.Append(ShortList(colActions), false, 400, 0);
    if (oTag->Warnings.isEmpty())
        return;
    oText.Append(QStringLiteral("Warnings") + kCrLf, true, 200, 200);
    oText.Append(CleanWarnings(oTag->Warnings) + kCrLf + kCrLf, false, 400, 0);
}

void WriteConfigurationDetails(DetailsText &oText, const config::ConfigStore *oStore)
{
    if (!oStore)
        return;
    if (oStore->SmartTagSets().Count() >= 1)
        oText.Append(oStore->SmartTagSets().Item(1)->Name + kCrLf, true, 200, 0);
    if (!oStore->Description.isEmpty())
        oText.Append(oStore->Description + kCrLf, false, 200, 0);
    oText.Append(kCrLf + QStringLiteral("File Name: ") + oStore->FilePath() + kCrLf + kCrLf, false, 200, 0);
}

} // namespace

void DetailsText::Append(const QString &sText, bool bBold, int lIndent, int lSecondIndent)
{
    if (!sText.isEmpty())
        colParagraphs.push_back({sText, bBold, lIndent, lSecondIndent});
}

QString DetailsText::PlainText() const
{
    QString sText;
    for (const auto &oParagraph : colParagraphs)
        sText += oParagraph.sText;
    return sText;
}

DetailsText WriteDetails(qint32 lNodeType, qint32 lParentType, const std::shared_ptr<config::ConfigStore> &oStore,
                         const QString &sId, int lSelected)
{
    DetailsText oText;
    switch (lNodeType) {
    case SmartTagsFolder:
        oText.sImageKey = QStringLiteral("Smarttag");
        break;
    case DataViewsFolder:
        oText.sImageKey = QStringLiteral("Dataview");
        break;
    case PersonalRoot:
        oText.sImageKey = QStringLiteral("Personal");
        break;
    case TeamRoot:
        oText.sImageKey = QStringLiteral("Team");
        break;
    default:
        RaiseError(kErrorInvalidNode, QString(), QStringLiteral("unknown node type for launching addnew wizard"));
    }
    oText.Append(QStringLiteral("  "), false, 200, 200);
    if (lNodeType == SmartTagsFolder)
        WriteSmartTagDetails(oText, oStore.get(), lParentType, sId, lSelected);
    else if (lNodeType == DataViewsFolder)
        WriteDataViewDetails(oText, oStore.get(), lParentType, sId, lSelected);
    else
        WriteConfigurationDetails(oText, oStore.get());
    return oText;
}

QString GetSourceLocation(const QString &sConnection, qint32 lKind)
{
    QString sLocation;
    switch (lKind) {
    case 1:
        sLocation = ExtractBetween(sConnection, QStringLiteral("FolderName=\""), QStringLiteral("\""));
        break;
    case 2:
    case 3:
        sLocation = ExtractBetween(sConnection, QStringLiteral("DSN="), QStringLiteral(";"));
        break;
    case 4:
    case 6:
        sLocation = ExtractBetween(sConnection, QStringLiteral("Data Source="), QStringLiteral(";"));
        break;
    case 5:
        sLocation = sConnection;
        break;
    case 7:
        sLocation = ExtractBetween(sConnection, QStringLiteral("File Name="), QStringLiteral(";"));
        break;
    case 8:
        sLocation = TextBefore(sConnection, QStringLiteral(";Extended"));
        break;
    default:
        break;
    }
    return sLocation.isEmpty() ? sConnection : sLocation;
}

QString ExtractBetween(const QString &sText, const QString &sStart, const QString &sEnd)
{
    if (sStart.isEmpty())
        return {};
    const qsizetype lFound = sText.indexOf(sStart, 0, Qt::CaseInsensitive);
    if (lFound < 0)
        return {};
    const qsizetype lFrom = lFound + sStart.size();
    if (lFrom >= sText.size())
        return {};
    const qsizetype lEnd = sEnd.isEmpty() ? -1 : sText.indexOf(sEnd, lFrom, Qt::CaseInsensitive);
    return lEnd < 0 ? sText.mid(lFrom) : sText.mid(lFrom, lEnd - lFrom);
}

QString TextBefore(const QString &sText, const QString &sMarker)
{
    if (sText.isEmpty())
        return {};
    const qsizetype lFound = sMarker.isEmpty() ? -1 : sText.indexOf(sMarker, 0, Qt::CaseInsensitive);
    return lFound < 0 ? sText : sText.left(lFound);
}

QString CleanWarnings(const QString &sWarnings)
{
    QString sText = sWarnings;
    const QString sPeriodBlank = QStringLiteral(". ");
    sText.replace(QStringLiteral(".\r\n"), sPeriodBlank);
    sText.replace(QStringLiteral(".\r"), sPeriodBlank);
    sText.replace(QStringLiteral(".\n"), sPeriodBlank);
    sText.replace(kCrLf, QStringLiteral(" "));
    sText.replace(QLatin1Char('\r'), QLatin1Char(' '));
    sText.replace(QLatin1Char('\n'), QLatin1Char(' '));
    sText.replace(QStringLiteral(".."), QStringLiteral("."));
    return sText;
}

QString ShortList(const QStringList &colEntries)
{
    QString sText;
    for (qsizetype i = 0; i < colEntries.size(); ++i) {
        if (i == 2) {
            sText += colEntries[i] + QStringLiteral("  ...") + kCrLf;
            break;
        }
        sText += colEntries[i] + kCrLf;
    }
    return sText + kCrLf;
}

} // namespace qv::manager
