#pragma once

#include <QStyledItemDelegate>

namespace velmorandi {

// The rename grid's cells as the style draws them, and more: the current cell
// framed boldly while the grid has the focus; an edited name that Rename would
// refuse after a warning sign, in the error colour; a row left out of the
// rename dimmed and slanted; and in every edited name on screen, the
// characters an edit changed in bold, worked out as it is drawn.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // An edited name is typed with the part before its extension selected.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    // False where nothing changed: the style draws it as it is.
    bool paintChanges(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;
};

} // namespace velmorandi
