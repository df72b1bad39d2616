#pragma once

#include <QString>

class QWidget;

namespace velmorandi {

// Shows the About window modally, exactly over mainWindow. mainTitle is the
// main window's title text, from which the product name line is taken.
void ShowAbout(QWidget* mainWindow, const QString& mainTitle);

} // namespace velmorandi
