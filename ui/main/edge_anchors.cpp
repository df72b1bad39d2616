#include "main/edge_anchors.h"

namespace velmorandi {

void EdgeAnchors::add(QWidget* control, int follows) {
    m_anchors.push_back({control, control->geometry(), follows});
}

void EdgeAnchors::follow(QSize growth) const {
    for (const Anchor& anchor : m_anchors) {
        if (anchor.control == nullptr)
            continue;
        const auto along = [&](int flag, int by) { return (anchor.follows & flag) != 0 ? by : 0; };
        QRect place = anchor.laidOut.translated(along(MovesRight, growth.width()),
                                                along(MovesDown, growth.height()));
        place.setRight(place.right() + along(GrowsRight, growth.width()));
        place.setBottom(place.bottom() + along(GrowsDown, growth.height()));
        anchor.control->setGeometry(place);
    }
}

} // namespace velmorandi
