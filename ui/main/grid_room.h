#pragma once

#include <QObject>

#include <array>

class QTableView;

namespace velmorandi {

// Once the grid has grown past its laid-out width, the room its columns leave
// goes to the two name columns, half each: at its laid-out width the grid
// keeps its columns as they are, and a wider serial column or a scroll bar
// takes from that room first. A name column
// sized otherwise (a drag on its edge, a fit to its names) keeps that width as
// its own until the room changes again.
class GridRoom : public QObject {
    Q_OBJECT
  public:
    // The grid at its laid-out width.
    explicit GridRoom(QTableView* grid);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void columnResized(int column);
    void share();

    QTableView* m_grid;
    int m_laidOutWidth;
    std::array<int, 2> m_given{}; // of the room, to the original and the edited names
    bool m_sharing = false;
};

} // namespace velmorandi
