#include "ViewerDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace qv::viewer {

void ViewerDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.column() == 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool bSelected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup eGroup = !option.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
                                        : option.state.testFlag(QStyle::State_Active) ? QPalette::Active
                                                                                       : QPalette::Inactive;
    if (bSelected)
        painter->fillRect(option.rect, option.palette.brush(eGroup, QPalette::Highlight));
    const QString sText = index.data(Qt::DisplayRole).toString();
    if (sText.isEmpty())
        return;
    const QStyle *oStyle = option.widget ? option.widget->style() : QApplication::style();
    const int lMargin = oStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect oText = option.rect.adjusted(lMargin, 0, -lMargin, 0);
    const QFontMetrics &oMetrics = option.fontMetrics;
    const QString sShown = oMetrics.horizontalAdvance(sText) <= oText.width()
                               ? sText
                               : oMetrics.elidedText(sText, Qt::ElideRight, oText.width());
    painter->save();
    painter->setPen(option.palette.color(eGroup, bSelected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(oText);
    const int lBaseline = oText.top() + (oText.height() - oMetrics.height()) / 2 + oMetrics.ascent();
    // Numbers and dates line up on the right (the model says which).
    const auto eAlign = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    const int lLeft = eAlign.testFlag(Qt::AlignRight) ? oText.right() + 1 - oMetrics.horizontalAdvance(sShown)
                                                      : oText.left();
    painter->drawText(QPoint(lLeft, lBaseline), sShown);
    painter->restore();
}

} // namespace qv::viewer
