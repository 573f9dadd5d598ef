#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace qv::test {

// The sample sources, written once for the whole run into a folder of its
// own by the generator the test names (QV_SAMPLEGEN); "" when it failed.
inline const QString &SampleFolder()
{
    static QTemporaryDir folder;
    static const bool written = [] {
        QProcess generator;
        generator.start(QStringLiteral(QV_SAMPLEGEN), {folder.path()});
        return generator.waitForFinished(120000) && generator.exitCode() == 0;
    }();
    static const QString path = written ? folder.path() : QString();
    return path;
}

} // namespace qv::test
