#include "main/grid_cell_delegate.h"

#include "main/name_changes.h"
#include "main/name_editor.h"
#include "main/rename_grid_model.h"
#include "shell/window_look.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace velmorandi {

namespace {

const QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& option) {
    if (!option.state.testFlag(QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state.testFlag(QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

// The text laid out on one line, the spans in bold.
void layOutBold(QTextLayout& layout, const QString& text, const QList<TextSpan>& spans) {
    layout.setText(text);
    QList<QTextLayout::FormatRange> ranges;
    for (const TextSpan& span : spans) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(span.begin);
        range.length = static_cast<int>(span.end - span.begin);
        range.format.setFontWeight(QFont::Bold);
        ranges.append(range);
    }
    layout.setFormats(ranges);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

} // namespace

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    if (index.column() != RenameGridModel::Edited)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* editor = new NameEditor(parent);
    editor->setFrame(false);
    return editor;
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* name = qobject_cast<NameEditor*>(editor))
        name->selectBase(index.data(RenameGridModel::kBaseLengthRole).toInt());
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // Dimmed, and slanted for a cue that a selected row keeps too.
    if (index.data(RenameGridModel::LeftOutRole).toBool()) {
        option->font.setItalic(true);
        option->fontMetrics = QFontMetrics(option->font);
        option->palette.setColor(QPalette::Text, dimText(option->palette));
    }
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
    if (index.column() != RenameGridModel::Edited || !paintChanges(painter, option, index))
        QStyledItemDelegate::paint(painter, option, index);
    if (!option.state.testFlag(QStyle::State_HasFocus))
        return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

bool GridCellDelegate::paintChanges(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QString name = cell.text;
    const QString original = index.siblingAtColumn(RenameGridModel::Original).data().toString();
    const TextSpan changed = changedSpan(original, name);
    if (changed.isEmpty())
        return false;
    const QStyle* style = styleOf(cell);
    // As the style lays a cell's text out, less the margins it keeps from the frame.
    QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    area.adjust(margin, 0, -margin, 0);
    cell.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

    QString shown = name;
    QList<TextSpan> spans{changed};
    QTextLayout layout(shown, cell.font);
    layOutBold(layout, shown, spans);
    if (layout.lineAt(0).naturalTextWidth() > area.width()) {
        // Shortened in the middle as the style does, measured in bold so that it fits.
        QFont bold = cell.font;
        bold.setBold(true);
        shown = QFontMetrics(bold).elidedText(name, Qt::ElideMiddle, area.width());
        const std::optional<MiddleCut> cut = middleCutOf(name, shown);
        spans = cut ? shownChanges(changed, name.size(), *cut) : QList<TextSpan>{};
        layOutBold(layout, shown, spans);
    }
    const bool selected = cell.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->setPen(cell.palette.color(colourGroup(cell),
                                       selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(area);
    const QTextLine line = layout.lineAt(0);
    layout.draw(painter, QPointF(area.left(), area.top() + (area.height() - line.height()) / 2));
    painter->restore();
    return true;
}

} // namespace velmorandi
