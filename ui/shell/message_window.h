#pragma once

#include <QString>

class QWidget;

namespace velmorandi {

// Shows the text in the modal message window centred on mainWindow; returns
// when the user has closed it.
void ShowMessage(QWidget* mainWindow, const QString& text);

} // namespace velmorandi
