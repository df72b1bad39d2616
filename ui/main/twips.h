#pragma once

#include <QRect>

namespace velmorandi {

// The window is laid out in twips; 15 of them make one pixel at 96 dots per inch.
constexpr int px(int twips) {
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

} // namespace velmorandi
