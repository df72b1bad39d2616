#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace velmorandi {

// The characters no file name may hold: \ / : * ? " < > |
bool isForbiddenCharacter(const QString& typed);

// Sees every key meant for a control of one window before the control does:
// drops the forbidden characters, saying why at a text box, and calls onHelp
// for F1 (whatever the modifiers), which still reaches the control afterwards.
class KeyboardFilter : public QObject {
    Q_OBJECT
  public:
    KeyboardFilter(QWidget* window, std::function<void()> onHelp, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    std::function<void()> m_onHelp;
    // An ignored key climbs to the parent controls: one help per key press.
    const QEvent* m_helpedEvent = nullptr;
};

} // namespace velmorandi
