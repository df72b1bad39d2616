#include "shell/picture_button.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace velmorandi {

namespace {

class PictureButtonAccessible : public QAccessibleWidget {
  public:
    explicit PictureButtonAccessible(PictureButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        // Later, as Qt's own buttons do: the click may open a modal box, whose
        // wait must not hold up the screen reader's call.
        if (actionName == pressAction())
            QMetaObject::invokeMethod(static_cast<PictureButton*>(widget()), &PictureButton::click,
                                      Qt::QueuedConnection);
    }
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* button = qobject_cast<PictureButton*>(object))
        return new PictureButtonAccessible(button);
    return nullptr;
}

QColor inkOf(PictureButton::State state) {
    switch (state) {
    case PictureButton::State::Hover:
        return QColor(0xFF, 0x00, 0x00);
    case PictureButton::State::Pressed:
        return QColor(0x00, 0x00, 0xFF);
    case PictureButton::State::Normal:
        break;
    }
    return QColor(0x00, 0x00, 0x00);
}

} // namespace

PictureButton::PictureButton(Glyph glyph, QWidget* parent, bool hasStates)
    : QWidget(parent), m_glyph(glyph), m_hasStates(hasStates) {
    setFixedSize(kButtonPictureSize, kButtonPictureSize);
    setFocusPolicy(Qt::NoFocus);
    // Plain hovering must reach mouseMoveEvent, not only moves with a button held.
    setMouseTracking(true);
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
}

void PictureButton::click() {
    emit clicked();
}

void PictureButton::setState(State state) {
    if (!m_hasStates || state == m_state)
        return;
    m_state = state;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintButtonPicture(painter, m_glyph, inkOf(m_state));
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(inkOf(m_state), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    setState(State::Pressed);
}

void PictureButton::mouseMoveEvent(QMouseEvent*) {
    // Moves while held arrive here too, also off the button, and show hover.
    setState(State::Hover);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && m_leftPressed &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    setState(State::Normal);
    if (click)
        emit clicked();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

} // namespace velmorandi
