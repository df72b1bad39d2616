#include "main/keyboard_filter.h"

#include "main/box_notice.h"
#include "shell/overlay_box.h"
#include "words/message_words.h"

#include "file_name_rules.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmorandi {

namespace {

// A key that does nothing would leave the user guessing: the box says why.
void tellLeftOut(QWidget& box, QChar typed) {
    const bool systemRefuses =
        checkPlatformFileName(QString(typed).toStdString()).fault == NameFault::ForbiddenCharacter;
    showBoxNotice(box, words::characterLeftOut(typed.unicode(), systemRefuses));
}

} // namespace

bool isForbiddenCharacter(const QString& typed) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return typed.size() == 1 && forbidden.contains(typed.at(0));
}

KeyboardFilter::KeyboardFilter(QWidget* window, std::function<void()> onHelp, QObject* parent)
    : QObject(parent), m_window(window), m_onHelp(std::move(onHelp)) {}

bool KeyboardFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event != m_helpedEvent)
        m_helpedEvent = nullptr;
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    // The boxes shown inside the window take their own keys.
    if (widget == nullptr || widget->window() != m_window || isInOverlayBox(widget))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isForbiddenCharacter(key->text())) {
        if (auto* box = qobject_cast<QLineEdit*>(watched); box != nullptr && !box->isReadOnly())
            tellLeftOut(*box, key->text().at(0));
        return true;
    }
    if (key->key() == Qt::Key_F1 && m_helpedEvent == nullptr) {
        m_onHelp();
        m_helpedEvent = event;
    }
    return false;
}

} // namespace velmorandi
