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
// The keys of the pictures of the data view and smart tag folders and items.
inline const QString kDataViewImage = QStringLiteral("Dataview");
inline const QString kSmartTagImage = QStringLiteral("Smarttag");
// The key of a personal or team root's picture.
QString RootImageKey(qint32 lRootType);
// The picture of a key as a model gives it; none without an image list.
QVariant IconOf(const ImageList *oImages, const QString &sKey);

// The toolbar's pictures: New, Copy, Paste, Delete, Properties, Help.
QList<QIcon> ToolbarPictures(const QStyle *oStyle);

} // namespace qv::manager
