#include "basUtility.h"

#include "registry/Registry.h"
#include "resources/PathText.h"
#include "ui/HelpService.h"
#include "qvuser/HostSettings.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace qv {

QString JoinPath(const QString &sFolder, const QString &sName)
{
    if (sFolder.endsWith(QLatin1Char('\\')))
        return sFolder + sName;
    return sFolder + QLatin1Char('\\') + sName;
}

QString ComponentFolder()
{
    return SystemPathText(FoundComponentFolder());
}

QString LocaleFolder()
{
    return JoinPath(ComponentFolder(), QString::fromLatin1(kLocaleFolderName));
}

QString ResourceLibraryPath(const QString &sFileName)
{
    return JoinPath(LocaleFolder(), sFileName);
}

QString HelpFilePath(const QString &sFileName, bool bPopups)
{
    return JoinPath(LocaleFolder(), bPopups ? sFileName + QStringLiteral("::/popups.txt") : sFileName);
}

QString FolderOfPath(const QString &sPath)
{
    const qsizetype at = sPath.lastIndexOf(QLatin1Char('\\'));
    return at < 0 ? QString() : sPath.left(at + 1);
}

QString FileOfPath(const QString &sPath)
{
    const qsizetype at = sPath.lastIndexOf(QLatin1Char('\\'));
    return at < 0 ? sPath : sPath.mid(at + 1);
}

bool FileExists(const QString &sPath)
{
    if (sPath.isEmpty())
        return false;
    const QFileInfo info(FileSystemPath(sPath));
    return info.exists() && !info.isDir();
}

bool IsInvalidPath(const QString &sPath)
{
    // '/' separates folders in the paths a file dialog gives, as '\\' does in
    // the path texts the system builds; neither is forbidden.
    static const QString forbidden = QStringLiteral("*?\"<>|");
    for (QChar c : sPath) {
        if (forbidden.contains(c) || c.isNull())
            return true;
    }
    // A Linux file name may hold a colon.
    if (!sPath.contains(QLatin1Char(':')) || sPath.startsWith(QLatin1Char('/')))
        return false;
    // A colon is only allowed as the drive's, in "X:\...".
    return sPath.size() < 3 || sPath.mid(1, 2) != QLatin1String(":\\") || sPath.startsWith(QLatin1Char(':'));
}

QString CutAtNul(const QString &sText)
{
    const qsizetype at = sText.indexOf(QChar(0));
    return at < 0 ? sText : sText.left(at);
}

QString DocumentsFolder()
{
    return CutAtNul(SystemPathText(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
}

QString AppDataFolder()
{
    return CutAtNul(SystemPathText(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
}

bool ShowHelp(QWidget *oOwner, const QString &sHelpFilePath, long lContext)
{
    return ui::ShowHelp(oOwner, sHelpFilePath, int(lContext));
}

QString GuidText(const QUuid &oGuid)
{
    // The 16 bytes as a GUID lies in memory: the first three fields little-endian.
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char((oGuid.data1 >> (8 * i)) & 0xFF));
    for (int i = 0; i < 2; ++i)
        bytes.append(char((oGuid.data2 >> (8 * i)) & 0xFF));
    for (int i = 0; i < 2; ++i)
        bytes.append(char((oGuid.data3 >> (8 * i)) & 0xFF));
    bytes.append(reinterpret_cast<const char *>(oGuid.data4), 8);
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString NewGuidText()
{
    return GuidText(QUuid::createUuid());
}

QString WindowTitle(const QString &sTitle, const QString &sName, const QString &sDefaultName)
{
    return sTitle + QStringLiteral(" - ") + (sName.isEmpty() ? sDefaultName : sName);
}

QString AddAccessKey(const QString &sCaption, QChar cKey)
{
    const qsizetype at = sCaption.indexOf(cKey, 0, Qt::CaseInsensitive);
    if (at < 0)
        return sCaption;
    return sCaption.left(at) + QLatin1Char('&') + sCaption.mid(at);
}

QString OneLineText(const QString &sText, int lMaxLength)
{
    QString line;
    line.reserve(sText.size());
    for (QChar c : sText) {
        if (c.unicode() == 31)
            continue;
        line += (c.unicode() < 32 || c.unicode() == 127) ? QLatin1Char(' ') : c;
    }
    if (line.size() <= lMaxLength || lMaxLength < 4)
        return line.left(qMax(lMaxLength, 0));
    const int room = lMaxLength - 3;
    qsizetype cut = line.lastIndexOf(QLatin1Char(' '), room);
    if (cut <= 0)
        cut = room;
    return line.left(cut).trimmed() + QStringLiteral("...");
}

bool ReadSkipWelcome(const QString &sWizardKey)
{
    try {
        return Registry()
                   .GetValue(Registry::CurrentUser, QString::fromLatin1(kRegistryKey) + sWizardKey,
                             QStringLiteral("SkipWelcome"), Registry::DWord, Variant(qint32(0)))
                   .ToLong()
               != 0;
    } catch (...) {
        return false;
    }
}

void WriteSkipWelcome(const QString &sWizardKey, bool bSkip)
{
    Registry().SetValue(Registry::CurrentUser, QString::fromLatin1(kRegistryKey) + sWizardKey,
                        QStringLiteral("SkipWelcome"), Registry::DWord, Variant(qint32(bSkip ? 1 : 0)));
}

} // namespace qv
