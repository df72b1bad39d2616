#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace velmorandi {

// What the program's small borderless boxes (the message and the progress
// windows) share: grey labels, the rule under the title and the black frame.
QLabel* makeBoxLabel(QWidget* box, const char* name, const QString& text);
QWidget* makeBoxRule(QWidget* box);
void paintBoxFrame(QWidget& box);

} // namespace velmorandi
