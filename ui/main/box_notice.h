#pragma once

class QString;
class QWidget;

namespace velmorandi {

// Tells at a control what became of something the user did there: a balloon
// beside it for the eyes, and for a screen reader the control's description,
// which it reads out as it changes. Both last a few seconds.
void showBoxNotice(QWidget& box, const QString& text);

} // namespace velmorandi
