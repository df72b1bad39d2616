#pragma once

#include <QList>
#include <QRect>

class QTableView;

namespace velmorandi {

// Where the user is in the grid: the current cell, the selected cells and how
// far it is scrolled. A model reset forgets all three; rows that are still the
// same ones get them back.
class GridPlace {
  public:
    explicit GridPlace(const QTableView& grid);
    void restore(QTableView& grid) const;

  private:
    int m_row = -1;
    int m_column = -1;
    QList<QRect> m_selected; // columns left to right, rows top to bottom
    int m_scrolledAcross = 0;
    int m_scrolledDown = 0;
};

} // namespace velmorandi
