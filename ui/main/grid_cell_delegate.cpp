#include "main/grid_cell_delegate.h"

#include "main/rename_grid_model.h"
#include "shell/window_look.h"

#include <QApplication>
#include <QPainter>

namespace velmorandi {

namespace {

const QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

} // namespace

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(RenameGridModel::RefusedRole).toBool())
        return;
    // A sign as well as a colour: the colour alone is lost on a selected row.
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon =
        styleOf(*option)->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, option->widget);
    const int side = option->fontMetrics.height();
    option->decorationSize = QSize(side, side);
    option->palette.setColor(QPalette::Text, errorText(option->palette));
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!option.state.testFlag(QStyle::State_HasFocus))
        return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

} // namespace velmorandi
