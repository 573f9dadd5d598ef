#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace qv::ui {

double TwipsPerPixel(Qt::Orientation orientation)
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    double dpi = 96.0;
    if (screen)
        dpi = orientation == Qt::Horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int TwipsToPixels(int twips, Qt::Orientation orientation)
{
    return int(std::lround(twips / TwipsPerPixel(orientation)));
}

int PixelsToTwips(int pixels, Qt::Orientation orientation)
{
    return int(std::lround(pixels * TwipsPerPixel(orientation)));
}

} // namespace qv::ui
