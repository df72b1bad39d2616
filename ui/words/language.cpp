#include "words/language.h"

#include <QCoreApplication>
#include <QLocale>

// Built into a static library: nothing else would pull the resource in.
static void loadTranslationResource() {
    Q_INIT_RESOURCE(velmorandi_translations);
}

namespace velmorandi {

namespace {

const QString kFolder = QStringLiteral(":/translations");

} // namespace

Language::Language(const QLocale& locale) {
    loadTranslationResource();
    if (!m_program.load(locale, QStringLiteral("velmorandi"), QStringLiteral("_"), kFolder))
        return;
    QCoreApplication::installTranslator(&m_program);
    // Only in the language the program speaks: never menus in one language and the window in
    // another.
    if (m_qt.load(QStringLiteral("qtbase_") + m_program.language(), kFolder))
        QCoreApplication::installTranslator(&m_qt);
}

Language::~Language() {
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_program);
}

QString Language::name() const {
    return m_program.language();
}

} // namespace velmorandi
