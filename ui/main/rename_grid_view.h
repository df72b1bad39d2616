#pragma once

#include <QTableView>

#include <functional>

class QMenu;

namespace velmorandi {

// The rename grid: long names shortened in the middle, so that their ends and
// extensions stay in sight; the current cell framed boldly while the grid has
// the focus; Tab lands on the names; a double-click on a header's edge, or
// Ctrl+Plus, fits the column to its longest name. The serial column is always
// wide enough for the largest row number. Moved onto by the keyboard, a
// shortened name, a name Rename would refuse or a refused row's status shows
// its tooltip.
class RenameGridView : public QTableView {
    Q_OBJECT
  public:
    explicit RenameGridView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // "Why…" for the current row: enabled when it reads "Err!", and then hands
    // show the sentence that says why.
    void offerWhy(QMenu& menu, const std::function<void(const QString&)>& show);
    // The current cell's tooltip, as moving onto it with the keys shows it.
    void showCurrentTip();

  signals:
    // Fitted from the keyboard, as a double-click on the header's edge fits it.
    void columnFitted(int column);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    int sizeHintForColumn(int column) const override;

  private:
    void moveToNamesColumn();
    void fitSerialColumn();
    int serialWidth() const;
    bool isShortened(const QModelIndex& index) const;
    void showCellTip(const QModelIndex& index);
};

} // namespace velmorandi
