#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace velmorandi {

// What the program's small borderless boxes (the message and the progress
// windows) share: grey labels, the rule under the title, the black frame and
// their place over the main window.
QLabel* makeBoxLabel(QWidget* box, const char* name, const QString& text);
QWidget* makeBoxRule(QWidget* box);
void paintBoxFrame(QWidget& box);
// Centred on the main window wherever it was dragged, even partly off the screen.
void placeBoxOver(QWidget& box, const QWidget& mainWindow);

} // namespace velmorandi
