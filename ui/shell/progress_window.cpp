#include "shell/progress_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

namespace velmorandi {

namespace {

constexpr QSize kWindowSize(385, 150);
const QColor kTextColour(0x40, 0x40, 0x40);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    return label;
}

} // namespace

frmProgress::frmProgress(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setFixedSize(kWindowSize);
    if (mainWindow != nullptr) {
        setFont(mainWindow->font());
        setPalette(mainWindow->palette());
    }
    setAutoFillBackground(true);

    QLabel* title = makeLabel(this, "lblTitle", QStringLiteral("Progress"));
    title->move(40, 32);
    title->adjustSize();

    auto* rule = new QWidget(this);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setGeometry(24, 48, 336, 1);
    rule->setAutoFillBackground(true);
    QPalette rulePalette = rule->palette();
    rulePalette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    rule->setPalette(rulePalette);

    m_text = makeLabel(this, "lblProgress", QString());
    m_text->setGeometry(40, 64, 303, 16);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("barProgress"));
    m_bar->setGeometry(40, 86, 303, 14);
    m_bar->setTextVisible(false);

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CmdCancel"));
    m_cancel->setGeometry(268, 112, 75, 23);
    m_cancel->setAccessibleDescription(QStringLiteral("Stops the work and undoes what it did"));
    connect(m_cancel, &QPushButton::clicked, this, &frmProgress::requestCancel);
}

void frmProgress::showProgress(const QString& text, qsizetype count, qsizetype total) {
    if (m_cancel->isEnabled())
        m_text->setText(text);
    if (total <= 0) {
        m_bar->setRange(0, 0);
        return;
    }
    // A bar counts in int; a million steps still fit, but keep it safe for more.
    constexpr qsizetype kScale = 1 << 20;
    const qsizetype scaledTotal = std::min(total, kScale);
    m_bar->setRange(0, static_cast<int>(scaledTotal));
    m_bar->setValue(static_cast<int>(std::min(count, total) * scaledTotal / total));
}

void frmProgress::setCancellable(bool cancellable) {
    m_cancel->setVisible(cancellable);
}

void frmProgress::placeOverMainWindow() {
    if (m_mainWindow == nullptr)
        return;
    const QRect main = m_mainWindow->frameGeometry();
    move(main.left() + (main.width() - width()) / 2, main.top() + (main.height() - height()) / 2);
}

void frmProgress::requestCancel() {
    if (!m_cancel->isVisible() || !m_cancel->isEnabled())
        return;
    m_cancel->setEnabled(false);
    m_text->setText(QStringLiteral("Cancelling..."));
    emit cancelRequested();
}

void frmProgress::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->key() == Qt::Key_Escape)
        requestCancel();
}

// A dialog closes itself on Escape; this one only ever cancels the work.
void frmProgress::reject() {
    requestCancel();
}

void frmProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace velmorandi
