#include "main/input_hold.h"

#include "shell/overlay_box.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace velmorandi {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

InputHold::InputHold(QWidget* window, std::vector<QWidget*> free, std::function<void()> onEscape,
                     QObject* parent)
    : QObject(parent), m_window(window), m_free(std::move(free)), m_onEscape(std::move(onEscape)) {}

bool InputHold::isFree(const QWidget* widget) const {
    // The progress window sits inside the main window; its Cancel must work.
    if (isInOverlayBox(widget))
        return true;
    return std::any_of(m_free.begin(), m_free.end(), [widget](const QWidget* free) {
        return free == widget || free->isAncestorOf(widget);
    });
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || !isUserInput(event->type()))
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_window || isFree(widget))
        return false;
    // Accepted, so that no shortcut fires either.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    if (event->type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape)
        m_onEscape();
    return true;
}

} // namespace velmorandi
