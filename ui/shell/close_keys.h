#pragma once

#include <QKeyEvent>

namespace velmorandi {

// Escape and Enter close the About and message windows as their close button does.
inline bool isCloseKey(const QKeyEvent& event) {
    const int key = event.key();
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace velmorandi
