#include "ManagerImages.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace qv::manager {
namespace {

constexpr int kSize = 16;

// The state picture in the lower right quarter of the base picture, as an
// image list's overlay draws it.
QIcon Overlay(const QIcon &oBase, const QIcon &oState)
{
    QPixmap oPixmap = oBase.pixmap(kSize, kSize);
    if (oPixmap.isNull())
        return oBase;
    QPainter oPainter(&oPixmap);
    oPainter.drawPixmap(kSize / 2, kSize / 2, oState.pixmap(kSize / 2, kSize / 2));
    oPainter.end();
    return QIcon(oPixmap);
}

} // namespace

QString RootImageKey(qint32 lRootType)
{
    return lRootType == TeamRoot ? QStringLiteral("Team") : QStringLiteral("Personal");
}

QVariant IconOf(const ImageList *oImages, const QString &sKey)
{
    if (!oImages)
        return {};
    const auto it = oImages->find(sKey);
    return it == oImages->end() ? QVariant() : QVariant(*it);
}

ImageList BuildImageList(const QStyle *oStyle)
{
    ImageList colImages;
    colImages.insert(QStringLiteral("Personal"), oStyle->standardIcon(QStyle::SP_DirHomeIcon));
    colImages.insert(QStringLiteral("Team"), oStyle->standardIcon(QStyle::SP_DriveNetIcon));
    colImages.insert(kDataViewImage, oStyle->standardIcon(QStyle::SP_FileDialogDetailedView));
    colImages.insert(kSmartTagImage, oStyle->standardIcon(QStyle::SP_FileDialogContentsView));
    colImages.insert(QStringLiteral("StateOK"), oStyle->standardIcon(QStyle::SP_DialogApplyButton));
    colImages.insert(QStringLiteral("StateStop"), oStyle->standardIcon(QStyle::SP_BrowserStop));
    colImages.insert(QStringLiteral("StateWarning"), oStyle->standardIcon(QStyle::SP_MessageBoxWarning));
    for (const char *sState : {"StateOK", "StateStop", "StateWarning"}) {
        const QString sKey = QLatin1String(sState);
        colImages.insert(QStringLiteral("SmartTag") + sKey,
                         Overlay(colImages.value(kSmartTagImage), colImages.value(sKey)));
    }
    return colImages;
}

QList<QIcon> ToolbarPictures(const QStyle *oStyle)
{
    // The style's own pictures: a theme lookup costs more than the window's whole list.
    return {oStyle->standardIcon(QStyle::SP_FileIcon),          oStyle->standardIcon(QStyle::SP_FileDialogNewFolder),
            oStyle->standardIcon(QStyle::SP_DialogOpenButton),  oStyle->standardIcon(QStyle::SP_TrashIcon),
            oStyle->standardIcon(QStyle::SP_FileDialogInfoView), oStyle->standardIcon(QStyle::SP_MessageBoxQuestion)};
}

} // namespace qv::manager
