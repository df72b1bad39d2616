#include "shell/message_window.h"

#include "shell/box_parts.h"
#include "shell/close_keys.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace velmorandi {

namespace {

constexpr QSize kWindowSize(385, 209);
constexpr QPoint kMessageAt(40, 64);
constexpr int kMessageWidth = 303;
// Down to a margin above the bottom edge; a longer text scrolls within.
constexpr int kMessageRoom = 133;
// File names in messages can be longer than a line and hold no space; let such
// a word break anywhere instead of running past the window's edge.
QString breakOverlongWords(const QString& text, const QFontMetrics& metrics, int width) {
    static const QRegularExpression word(QStringLiteral("[^\\s]+"));
    QString result;
    qsizetype from = 0;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += text.mid(from, match.capturedStart() - from);
        QString piece = match.captured();
        if (metrics.horizontalAdvance(piece) > width) {
            QString breakable;
            for (QChar c : piece)
                breakable.append(c).append(QChar(0x200B));
            piece = breakable;
        }
        result += piece;
        from = match.capturedEnd();
    }
    return result + text.mid(from);
}

} // namespace

frmMessageBox::frmMessageBox(QWidget* mainWindow)
    : OverlayBox(mainWindow, kWindowSize, QAccessible::AlertMessage) {
    setObjectName(QStringLiteral("frmMessageBox"));
    setAccessibleName(tr("Message"));
    // Holds the focus itself, as nothing in it takes it: every key comes here.
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    useWindowLook(*this);

    QLabel* title = makeBoxLabel(this, "lblTitle", tr("Message"));
    title->move(40, 32);
    title->adjustSize();

    makeBoxRule(this);

    // The scroll bar, when a text needs one, stands in the right margin: the
    // text keeps its width.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrMessage"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);

    m_message = makeBoxLabel(this, "lblMessage", QString());
    // Whole lines, so that the last one in sight is not cut through.
    const int lineHeight = m_message->fontMetrics().lineSpacing();
    const int barWidth = m_scroll->verticalScrollBar()->sizeHint().width();
    m_scroll->setGeometry(QRect(
        kMessageAt, QSize(kMessageWidth + 8 + barWidth, kMessageRoom / lineHeight * lineHeight)));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setGeometry(0, 0, kMessageWidth, 0);
    m_scroll->setWidget(m_message);

    m_closeButton = new PictureButton(PictureButton::Glyph::Close, this);
    m_closeButton->setObjectName(QStringLiteral("ImgXbut"));
    m_closeButton->move(347, 11);
    m_closeButton->setAccessibleName(tr("Close"));
    m_closeButton->setAccessibleDescription(tr("Closes the message (Escape or Enter)"));
    connect(m_closeButton, &PictureButton::clicked, this, &frmMessageBox::ImgXbut_Click);
}

void frmMessageBox::setChoice(const QString& yes, const QString& no) {
    constexpr int kButtonsAt = 170;
    const auto make = [this](const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    m_yes = make(yes, "CmdYes");
    m_no = make(no, "CmdNo");
    m_no->setGeometry(kMessageAt.x() + kMessageWidth - 100, kButtonsAt, 100, 25);
    const int yesWidth = std::max(150, m_yes->sizeHint().width());
    m_yes->setGeometry(m_no->x() - 8 - yesWidth, kButtonsAt, yesWidth, 25);
    // The text keeps to whole lines above the buttons.
    const int lineHeight = m_message->fontMetrics().lineSpacing();
    m_scroll->resize(m_scroll->width(),
                     (kButtonsAt - 6 - kMessageAt.y()) / lineHeight * lineHeight);
    connect(m_yes, &QPushButton::clicked, this, [this] {
        m_chosenYes = true;
        closeBox();
    });
    connect(m_no, &QPushButton::clicked, this, &frmMessageBox::ImgXbut_Click);
}

QWidget* frmMessageBox::focusTarget() {
    if (m_no != nullptr)
        return m_no;
    return this;
}

void frmMessageBox::Form_Load() {
    placeOverMainWindow();
    QString text = vMessage;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_message->setText(breakOverlongWords(text, m_message->fontMetrics(), kMessageWidth));
    // Read out with the box's name when the box takes the focus.
    setAccessibleDescription(text);
    // The label grows downwards; what does not fit scrolls.
    m_message->resize(kMessageWidth, m_message->heightForWidth(kMessageWidth));
}

void frmMessageBox::scrollByKey(const QKeyEvent& event) {
    QScrollBar* bar = m_scroll->verticalScrollBar();
    switch (event.key()) {
    case Qt::Key_Up:
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        break;
    }
}

void frmMessageBox::ImgXbut_Click() {
    closeBox();
}

void frmMessageBox::ResetImageButtons() {
    m_closeButton->setState(PictureButton::State::Normal);
}

void frmMessageBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // Enter on an answer takes it, as Space does.
    auto* answer = qobject_cast<QPushButton*>(focusWidget());
    if (answer != nullptr && (answer == m_yes || answer == m_no) &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        answer->click();
    else if (isCloseKey(*event))
        ImgXbut_Click();
    else if (event->matches(QKeySequence::Copy))
        QGuiApplication::clipboard()->setText(accessibleDescription());
    else
        scrollByKey(*event);
}

bool frmMessageBox::event(QEvent* event) {
    if (event->type() == QEvent::Show) {
        // Where the platform has alerts (Windows), this one is announced as such.
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
        // Behind another window: the task bar or the window list asks for a look.
        if (!window()->isActiveWindow())
            QApplication::alert(window());
    }
    return OverlayBox::event(event);
}

void frmMessageBox::mouseMoveEvent(QMouseEvent*) {
    ResetImageButtons();
}

void frmMessageBox::paintEvent(QPaintEvent*) {
    paintBoxFrame(*this);
}

void ShowMessage(QWidget* mainWindow, const QString& text) {
    // Owned by the main window as well: whichever goes first takes it along.
    const QPointer<frmMessageBox> box = new frmMessageBox(mainWindow);
    box->vMessage = text;
    box->Form_Load();
    box->runModal();
    delete box;
}

bool AskMessage(QWidget* mainWindow, const QString& text, const QString& yes, const QString& no) {
    const QPointer<frmMessageBox> box = new frmMessageBox(mainWindow);
    box->vMessage = text;
    box->setChoice(yes, no);
    box->Form_Load();
    box->runModal();
    const bool chosen = box && box->chosenYes();
    delete box;
    return chosen;
}

} // namespace velmorandi
