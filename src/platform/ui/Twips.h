#pragma once

#include <Qt>

namespace qv::ui {

// The one place where sizes fixed in twips (1440 a logical inch) become
// pixels: twips per pixel = 1440 / the primary screen's logical dpi (15 at 96).
double TwipsPerPixel(Qt::Orientation orientation = Qt::Horizontal);
int TwipsToPixels(int twips, Qt::Orientation orientation = Qt::Horizontal);
int PixelsToTwips(int pixels, Qt::Orientation orientation = Qt::Horizontal);

} // namespace qv::ui
