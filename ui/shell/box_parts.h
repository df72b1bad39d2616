#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace velmorandi {

// What the program's small borderless boxes (the message and the progress
// windows) share: grey labels, the rule under the title and the frame, drawn
// from the box's own colours (dark grey, grey and black on white).
QLabel* makeBoxLabel(QWidget* box, const char* name, const QString& text);
QWidget* makeBoxRule(QWidget* box);
void paintBoxFrame(QWidget& box);

} // namespace velmorandi
