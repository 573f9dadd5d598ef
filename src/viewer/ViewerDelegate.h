#pragma once

#include <QStyledItemDelegate>

namespace qv::viewer {

// Paints the data viewer's text cells as a report list shows them: one line
// of text, cut with an ellipsis when the column is too narrow, on the
// selection colour when the row is selected. The check-box column keeps the
// style's own painting. A list of two thousand rows repaints on every scroll,
// so the cells skip the style's general item layout.
class ViewerDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace qv::viewer
