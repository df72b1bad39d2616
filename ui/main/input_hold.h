#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace velmorandi {

// While a run works on the folder, holds back the user's input to one window
// so nothing can change the list or the folder under it. The window still
// paints and scrolls, and the controls left free (the title drag, the close
// button) keep working; Escape asks the run to stop.
class InputHold : public QObject {
    Q_OBJECT
  public:
    InputHold(QWidget* window, std::vector<QWidget*> free, std::function<void()> onEscape,
              QObject* parent = nullptr);

    void setActive(bool active) { m_active = active; }
    bool isActive() const { return m_active; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isFree(const QWidget* widget) const;

    QWidget* m_window;
    std::vector<QWidget*> m_free;
    std::function<void()> m_onEscape;
    bool m_active = false;
};

} // namespace velmorandi
