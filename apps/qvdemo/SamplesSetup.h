#pragma once

#include <QString>

namespace qvdemo {

// The sample configuration inside the folder the build writes the samples to.
QString SampleConfigurationPath(const QString &samplesFolder);

// Which personal configuration the editor sets on start: the samples'
// configuration when none is set yet or the one set is gone, and "" (leave
// it) when a configuration that exists is set or the samples are missing.
QString PersonalConfigurationToSet(const QString &currentPath, const QString &samplesFolder);

} // namespace qvdemo
