#include "SamplesSetup.h"

#include <QDir>
#include <QFileInfo>

namespace qvdemo {

QString SampleConfigurationPath(const QString &samplesFolder)
{
    return QDir(samplesFolder).filePath(QStringLiteral("qvDataView Sample.cfg"));
}

QString PersonalConfigurationToSet(const QString &currentPath, const QString &samplesFolder)
{
    if (!currentPath.isEmpty() && QFileInfo(currentPath).isFile())
        return {};
    const QString samples = SampleConfigurationPath(samplesFolder);
    return QFileInfo(samples).isFile() ? QFileInfo(samples).absoluteFilePath() : QString();
}

} // namespace qvdemo
