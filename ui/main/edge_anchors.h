#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace velmorandi {

// The controls of a window that can grow: each keeps the place it was laid out
// at, moved or stretched by as much as the window has grown past its laid-out
// size, along the edges it follows.
class EdgeAnchors {
  public:
    enum Follow {
        MovesRight = 1, // stays as far from the right edge
        MovesDown = 2,  // stays as far from the bottom edge
        GrowsRight = 4, // its right side stays as far from the right edge
        GrowsDown = 8,  // its bottom stays as far from the bottom edge
    };

    // Takes the control's present geometry as its laid-out one.
    void add(QWidget* control, int follows);
    void follow(QSize growth) const;

  private:
    struct Anchor {
        QPointer<QWidget> control;
        QRect laidOut;
        int follows;
    };
    std::vector<Anchor> m_anchors;
};

} // namespace velmorandi
