#pragma once

#include "shell/overlay_box.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace velmorandi::test {

// Closes every modal box that opens while it lives, with Escape, and keeps
// what each one said: lblMessage's text, or the box's object name.
class ModalCloser {
  public:
    ModalCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeActiveModal(); });
        m_timer.start(20);
    }

    const QStringList& seen() const { return m_seen; }

    // The message window shows CR LF as a line break.
    static QString shown(QString text) { return text.replace(QStringLiteral("\r\n"), "\n"); }

  private:
    void closeActiveModal() {
        QWidget* modal = OverlayBox::waiting();
        if (modal == nullptr || modal == m_closing)
            return;
        m_closing = modal;
        const auto* message = modal->findChild<QLabel*>(QStringLiteral("lblMessage"));
        m_seen << (message != nullptr ? message->text() : modal->objectName());
        QTest::keyClick(modal, Qt::Key_Escape);
    }

    QTimer m_timer;
    QStringList m_seen;
    QPointer<QWidget> m_closing;
};

} // namespace velmorandi::test
