#include "shell/progress_window.h"

#include "shell/box_parts.h"
#include "shell/window_look.h"
#include "words/progress_words.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmorandi {

namespace {

constexpr QSize kWindowSize(385, 150);

} // namespace

frmProgress::frmProgress(QWidget* mainWindow)
    : OverlayBox(mainWindow, kWindowSize, QAccessible::Dialog) {
    setObjectName(QStringLiteral("frmProgress"));
    setAccessibleName(tr("Progress"));
    useWindowLook(*this);

    QLabel* title = makeBoxLabel(this, "lblTitle", tr("Progress"));
    title->move(40, 32);
    title->adjustSize();

    makeBoxRule(this);

    m_text = makeBoxLabel(this, "lblProgress", QString());
    m_text->setGeometry(40, 64, 303, 16);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("barProgress"));
    m_bar->setAccessibleName(tr("Progress"));
    m_bar->setGeometry(40, 86, 303, 14);
    m_bar->setTextVisible(false);

    m_timeLeft = makeBoxLabel(this, "lblTimeLeft", QString());
    m_timeLeft->setGeometry(40, 116, 220, 16);

    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CmdCancel"));
    m_cancel->setGeometry(268, 112, 75, 23);
    m_cancel->setAccessibleDescription(tr("Stops the work and undoes what it did"));
    connect(m_cancel, &QPushButton::clicked, this, &frmProgress::requestCancel);
}

void frmProgress::showProgress(const QString& text, qsizetype count, qsizetype total) {
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

void frmProgress::showTimeLeft(const QString& text) {
    if (m_cancel->isEnabled())
        m_timeLeft->setText(text);
}

void frmProgress::setCancellable(bool cancellable) {
    m_cancel->setVisible(cancellable);
}

QWidget* frmProgress::focusTarget() {
    return m_cancel->isVisibleTo(this) ? m_cancel : nullptr;
}

void frmProgress::setCancelling() {
    m_cancel->setEnabled(false);
    m_text->setText(words::cancelling());
    m_timeLeft->clear();
}

void frmProgress::requestCancel() {
    if (!m_cancel->isVisible() || !m_cancel->isEnabled())
        return;
    setCancelling();
    emit cancelRequested();
}

void frmProgress::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->key() == Qt::Key_Escape)
        requestCancel();
}

void frmProgress::paintEvent(QPaintEvent*) {
    paintBoxFrame(*this);
}

} // namespace velmorandi
