#pragma once

#include <QString>
#include <QTranslator>

class QLocale;

namespace velmorandi {

// The program's texts, and Qt's own (context menus, key names), in the
// locale's language, from the translations built into the program; English,
// the texts' own language, where it has none. In use while this lives, which
// needs the application object.
class Language {
  public:
    explicit Language(const QLocale& locale);
    ~Language();
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    // The translation in use, as "de"; empty for English.
    QString name() const;

  private:
    QTranslator m_program;
    QTranslator m_qt;
};

} // namespace velmorandi
