#pragma once

#include "ManagerModels.h"

#include <QList>

class QStyle;

namespace qv::manager {

// The window's image list: "Personal", "Team", "Dataview", "Smarttag",
// "StateOK", "StateStop", "StateWarning", and the smart tag picture with
// each state drawn over it ("SmartTagStateOK", "SmartTagStateStop",
// "SmartTagStateWarning"). Pictures come from the style, as the desktop
// draws its own.
ImageList BuildImageList(const QStyle *oStyle);
// The toolbar's pictures: New, Copy, Paste, Delete, Properties, Help.
QList<QIcon> ToolbarPictures(const QStyle *oStyle);

} // namespace qv::manager
