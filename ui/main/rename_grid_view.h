#pragma once

#include <QTableView>

namespace velmorandi {

// The rename grid: long names shortened in the middle, so that their ends and
// extensions stay in sight; the current cell framed boldly while the grid has
// the focus; Tab lands on the names; a double-click on a header's edge fits
// the column to its longest name.
class RenameGridView : public QTableView {
    Q_OBJECT
  public:
    explicit RenameGridView(QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    int sizeHintForColumn(int column) const override;

  private:
    void moveToNamesColumn();
};

} // namespace velmorandi
