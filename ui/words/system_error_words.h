#pragma once

#include "platform/system_error.h"

#include <QString>

// A system error inside a message, in the message's own language.
namespace velmorandi::words {

// The program's language has words for the common errors; for any other, and
// in English (the texts' source), the system's own English text is used. A
// message that carries an error takes the error's language, so that it never
// mixes two:
//
//     const ErrorWording wording(error);
//     wording.text("Context", QT_TRANSLATE_NOOP("Context", "Could not read %1: %2."))
//         .arg(folder, wording.error());
class ErrorWording {
  public:
    explicit ErrorWording(const SystemError& error);

    bool inEnglish() const { return m_inEnglish; }
    // The error, in the language of the message.
    const QString& error() const { return m_error; }
    // A text of the message around the error: translated, or as written in English.
    QString text(const char* context, const char* source) const;

  private:
    bool m_inEnglish = true;
    QString m_error;
};

} // namespace velmorandi::words
