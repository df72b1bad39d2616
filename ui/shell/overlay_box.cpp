#include "shell/overlay_box.h"

#include <QAccessibleWidget>
#include <QEventLoop>
#include <QKeyEvent>

#include <algorithm>
#include <vector>

namespace velmorandi {

namespace {

std::vector<OverlayBox*>& waitingBoxes() {
    static std::vector<OverlayBox*> boxes;
    return boxes;
}

// Lies over the whole main window under a modal box and takes every pointer
// event, so that nothing under it is clicked, hovered or scrolled.
class Shield : public QWidget {
  public:
    explicit Shield(QWidget* mainWindow) : QWidget(mainWindow) {
        setObjectName(QStringLiteral("overlayShield"));
        setMouseTracking(true);
        setGeometry(mainWindow->rect());
    }

  protected:
    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            event->accept();
            return true;
        default:
            return QWidget::event(event);
        }
    }
};

class OverlayBoxAccessible : public QAccessibleWidget {
  public:
    explicit OverlayBoxAccessible(OverlayBox* box)
        : QAccessibleWidget(box, box->accessibleRole()) {}
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* box = qobject_cast<OverlayBox*>(object))
        return new OverlayBoxAccessible(box);
    return nullptr;
}

} // namespace

OverlayBox::OverlayBox(QWidget* mainWindow, QSize size, QAccessible::Role role)
    : QWidget(mainWindow), m_mainWindow(mainWindow), m_role(role) {
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
    setFixedSize(size);
    hide();
    mainWindow->installEventFilter(this);
}

OverlayBox::~OverlayBox() {
    delete m_shield;
    if (m_loop != nullptr)
        m_loop->quit();
}

void OverlayBox::placeOverMainWindow() {
    // Halves rounded to the nearest pixel; a box as large as the main window sits at its corner.
    const QSize main = m_mainWindow->size();
    move(qRound((main.width() - width()) / 2.0), qRound((main.height() - height()) / 2.0));
}

void OverlayBox::open() {
    m_focusBefore = m_mainWindow->focusWidget();
    placeOverMainWindow();
    show();
    raise();
    if (QWidget* target = focusTarget())
        target->setFocus(Qt::OtherFocusReason);
}

void OverlayBox::runModal() {
    m_shield = new Shield(m_mainWindow);
    m_shield->show();
    open();

    const QPointer<OverlayBox> self(this);
    QEventLoop loop;
    m_loop = &loop;
    waitingBoxes().push_back(this);
    loop.exec();
    auto& boxes = waitingBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
    // The main window, and the box with it, may have gone meanwhile.
    if (self)
        m_loop = nullptr;
}

void OverlayBox::closeBox() {
    hide();
    delete m_shield;
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    if (m_loop != nullptr)
        m_loop->quit();
}

OverlayBox* OverlayBox::waiting() {
    const auto& boxes = waitingBoxes();
    return boxes.empty() ? nullptr : boxes.back();
}

bool OverlayBox::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The main window's shortcuts are not the box's: its keys stay its own.
        event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        // Nor does the pointer pass through the box to the main window under it.
        QWidget::event(event);
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

bool OverlayBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_mainWindow && event->type() == QEvent::Resize) {
        if (m_shield)
            m_shield->setGeometry(m_mainWindow->rect());
        if (isVisible())
            placeOverMainWindow();
    }
    return QWidget::eventFilter(watched, event);
}

bool OverlayBox::focusNextPrevChild(bool) {
    // Tab never leads out of the box into the main window under it.
    return true;
}

bool isInOverlayBox(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<const OverlayBox*>(w) != nullptr)
            return true;
    return false;
}

} // namespace velmorandi
