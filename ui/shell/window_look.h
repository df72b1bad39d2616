#pragma once

class QWidget;

namespace velmorandi {

// What every window of the program shares: the system's window colours as the
// palette gives them for text areas (white and black in most themes) and a
// plain sans-serif face of 11 pixels, about 8 points.
void useWindowLook(QWidget& window);

} // namespace velmorandi
