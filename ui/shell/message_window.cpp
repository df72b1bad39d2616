#include "shell/message_window.h"

#include "shell/close_keys.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>

namespace velmorandi {

namespace {

constexpr QSize kWindowSize(385, 209);
constexpr int kMessageWidth = 303;
const QColor kTextColour(0x40, 0x40, 0x40);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    return label;
}

QWidget* makeRule(QWidget* parent) {
    auto* rule = new QWidget(parent);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setGeometry(24, 48, 336, 1);
    rule->setAutoFillBackground(true);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    rule->setPalette(palette);
    // A drawn line: moves over it belong to the window's background.
    rule->setAttribute(Qt::WA_TransparentForMouseEvents);
    return rule;
}

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
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmMessageBox"));
    setWindowTitle(QStringLiteral("Message"));
    setFixedSize(kWindowSize);
    setMouseTracking(true);
    useWindowLook(*this);

    QLabel* title = makeLabel(this, "lblTitle", QStringLiteral("Message"));
    title->move(40, 32);
    title->adjustSize();

    makeRule(this);

    m_message = makeLabel(this, "lblMessage", QString());
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setGeometry(40, 64, kMessageWidth, 0);

    m_closeButton = new PictureButton(PictureButton::Glyph::Close, this);
    m_closeButton->setObjectName(QStringLiteral("ImgXbut"));
    m_closeButton->move(347, 11);
    m_closeButton->setAccessibleName(QStringLiteral("Close"));
    m_closeButton->setAccessibleDescription(QStringLiteral("Closes the message (Escape or Enter)"));
    connect(m_closeButton, &PictureButton::clicked, this, &frmMessageBox::ImgXbut_Click);
}

void frmMessageBox::Form_Load() {
    placeOverMainWindow();
    QString text = vMessage;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_message->setText(breakOverlongWords(text, m_message->fontMetrics(), kMessageWidth));
    // The label grows downwards; the window's bottom edge cuts off what does not fit.
    m_message->resize(kMessageWidth, m_message->heightForWidth(kMessageWidth));
}

void frmMessageBox::placeOverMainWindow() {
    if (m_mainWindow == nullptr)
        return;
    // Centred on the main window wherever it was dragged, even partly off the screen.
    const QRect main = m_mainWindow->frameGeometry();
    const double top = (main.height() - height()) / 2.0 + main.top();
    const double left = (main.width() - width()) / 2.0 + main.left();
    move(qRound(left), qRound(top));
}

void frmMessageBox::ImgXbut_Click() {
    accept();
}

void frmMessageBox::ResetImageButtons() {
    m_closeButton->setState(PictureButton::State::Normal);
}

void frmMessageBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (isCloseKey(*event))
        ImgXbut_Click();
}

void frmMessageBox::mouseMoveEvent(QMouseEvent*) {
    ResetImageButtons();
}

void frmMessageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ShowMessage(QWidget* mainWindow, const QString& text) {
    frmMessageBox box(mainWindow);
    box.vMessage = text;
    box.Form_Load();
    box.exec();
}

} // namespace velmorandi
