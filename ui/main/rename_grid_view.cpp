#include "main/rename_grid_view.h"

#include "main/rename_grid_model.h"
#include "words/message_words.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace velmorandi {

namespace {

// Measured in full when a column is fitted: more than the longest names by
// bytes rarely matter, and a hundred thousand rows would take too long.
constexpr std::size_t kWidestCandidates = 64;

// A name typed by hand: the part before the extension is selected, as a file
// manager does, so that typing keeps the extension. The view selects the
// whole text once the editor is set up, and may pass it the key that opened
// it at once: the selection is made before that key, or else once the view is done.
class NameEditor : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

    void selectBase(int length) {
        m_base = length;
        QTimer::singleShot(0, this, &NameEditor::applyBase);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        applyBase();
        QLineEdit::keyPressEvent(event);
    }
    // A selection the user makes is theirs.
    void mousePressEvent(QMouseEvent* event) override {
        m_base = -1;
        QLineEdit::mousePressEvent(event);
    }

  private:
    void applyBase() {
        if (m_base >= 0)
            setSelection(0, std::exchange(m_base, -1));
    }
    int m_base = -1;
};

class CurrentCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!option.state.testFlag(QStyle::State_HasFocus))
            return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != RenameGridModel::Edited)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* editor = new NameEditor(parent);
        editor->setFrame(false);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        if (auto* name = dynamic_cast<NameEditor*>(editor))
            name->selectBase(index.data(RenameGridModel::kBaseLengthRole).toInt());
    }
};

} // namespace

RenameGridView::RenameGridView(QWidget* parent) : QTableView(parent) {
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegate(new CurrentCellDelegate(this));
    // However the column was made narrower, by a drag or by a new layout.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == RenameGridModel::Serial)
            fitSerialColumn();
    });
}

void RenameGridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (model == nullptr)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &RenameGridView::fitSerialColumn);
    connect(model, &QAbstractItemModel::rowsInserted, this, &RenameGridView::fitSerialColumn);
    fitSerialColumn();
}

// Row numbers are never shortened: the column widens to the largest of them.
void RenameGridView::fitSerialColumn() {
    const int needed = serialWidth();
    if (columnWidth(RenameGridModel::Serial) < needed)
        setColumnWidth(RenameGridModel::Serial, needed);
}

int RenameGridView::serialWidth() const {
    const int rows = model() == nullptr ? 0 : model()->rowCount();
    if (rows == 0)
        return 0;
    // As wide as the widest digit repeated: every number of that many digits fits.
    const QModelIndex last = model()->index(rows - 1, RenameGridModel::Serial);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QString number = last.data().toString();
    int widestDigit = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, option.fontMetrics.horizontalAdvance(QChar(digit)));
    const int spare = widestDigit * static_cast<int>(number.size()) -
                      option.fontMetrics.horizontalAdvance(number);
    const int gridLine = showGrid() ? 1 : 0;
    return itemDelegateForIndex(last)->sizeHint(option, last).width() + std::max(spare, 0) +
           gridLine;
}

void RenameGridView::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Plus fits the current column as a double-click on its edge does.
    const bool fit = event->modifiers().testFlag(Qt::ControlModifier) &&
                     (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal);
    if (fit && currentIndex().isValid()) {
        resizeColumnToContents(currentIndex().column());
        emit columnFitted(currentIndex().column());
        scrollTo(currentIndex());
        event->accept();
        return;
    }
    // The menu key comes as a menu event from most window systems; Shift+F10 only from some.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint at = visualRect(currentIndex()).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(this, &menu);
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before)
        showCellTip(currentIndex());
}

bool RenameGridView::isShortened(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return itemDelegateForIndex(index)->sizeHint(option, index).width() >
           columnWidth(index.column());
}

// What the pointer would show, for the keyboard: a name shortened in the
// middle in whole, a refused row's reason.
void RenameGridView::showCellTip(const QModelIndex& index) {
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (tip.isEmpty() || (index.column() != RenameGridModel::Status && !isShortened(index))) {
        QToolTip::hideText();
        return;
    }
    const QRect cell = visualRect(index);
    QToolTip::showText(viewport()->mapToGlobal(cell.bottomLeft()), tip, viewport(), cell);
}

void RenameGridView::offerWhy(QMenu& menu, const std::function<void(const QString&)>& show) {
    const auto* rows = qobject_cast<const RenameGridModel*>(model());
    const int row = currentIndex().row();
    const QString reason = rows == nullptr ? QString() : rows->reasonOfRow(row);
    QAction* why = menu.addAction(tr("Why\u2026"));
    why->setObjectName(QStringLiteral("mnuWhy"));
    why->setEnabled(!reason.isEmpty());
    if (reason.isEmpty())
        return;
    const QString name = rows->index(row, RenameGridModel::Original).data().toString();
    const QString text = words::rowRefused(row + 1, name, reason);
    connect(why, &QAction::triggered, this, [show, text] { show(text); });
}

void RenameGridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        moveToNamesColumn();
}

// Typing a letter then finds a file by its name.
void RenameGridView::moveToNamesColumn() {
    if (model() == nullptr || model()->rowCount() == 0)
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() == RenameGridModel::Original)
        return;
    const QModelIndex target =
        model()->index(current.isValid() ? current.row() : 0, RenameGridModel::Original);
    // A selection of several cells is the user's; a lone selected cell follows.
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const bool lone = selected.isEmpty() || (selected.size() == 1 && selected.first() == current);
    selectionModel()->setCurrentIndex(target, lone ? QItemSelectionModel::ClearAndSelect
                                                   : QItemSelectionModel::NoUpdate);
}

int RenameGridView::sizeHintForColumn(int column) const {
    // The rows around the visible ones, as the view measures them...
    int width = QTableView::sizeHintForColumn(column);
    const auto* rows = qobject_cast<const RenameGridModel*>(model());
    if (rows == nullptr)
        return width;
    // ...and the longest names anywhere in the list.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int gridLine = showGrid() ? 1 : 0;
    for (const int row : rows->longestRows(column, kWidestCandidates)) {
        const QModelIndex index = rows->index(row, column);
        width = std::max(width,
                         itemDelegateForIndex(index)->sizeHint(option, index).width() + gridLine);
    }
    return width;
}

} // namespace velmorandi
