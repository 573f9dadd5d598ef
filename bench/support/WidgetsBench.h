#pragma once

// Included by a benchmark of widgets: its process runs under a QApplication.

#include "BenchMain.h"

#include <QApplication>

namespace qv::bench {

inline QCoreApplication *MakeWidgetsApplication(int &argc, char **argv)
{
    return new QApplication(argc, argv);
}

inline const bool kWidgetsApplication = SetApplicationFactory(&MakeWidgetsApplication);

} // namespace qv::bench
