#pragma once

#include <QString>

// What the About window tells.
namespace velmorandi::words {

QString aboutText();
QString authorText();
// The text of the window's lower band, naming the release.
QString descriptionText(const QString& version);

} // namespace velmorandi::words
