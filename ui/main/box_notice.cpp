#include "main/box_notice.h"

#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace velmorandi {

namespace {

constexpr int kShownMs = 5000;
const char* const kNoticeName = "velmorandiBoxNotice";

// Lives as long as the notice does, then gives the control its own description back.
class BoxNotice : public QObject {
  public:
    explicit BoxNotice(QWidget& box)
        : QObject(&box), m_box(box), m_own(box.accessibleDescription()) {
        setObjectName(QLatin1String(kNoticeName));
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            describe(m_own);
            deleteLater();
        });
    }

    void show(const QString& text) {
        describe(text);
        m_timer.start(kShownMs);
    }

  private:
    // Qt tells the screen reader of the change itself.
    void describe(const QString& text) { m_box.setAccessibleDescription(text); }

    QWidget& m_box;
    QString m_own;
    QTimer m_timer;
};

} // namespace

void showBoxNotice(QWidget& box, const QString& text) {
    auto* notice = static_cast<BoxNotice*>(
        box.findChild<QObject*>(QLatin1String(kNoticeName), Qt::FindDirectChildrenOnly));
    if (notice == nullptr)
        notice = new BoxNotice(box);
    notice->show(text);
    QToolTip::showText(box.mapToGlobal(QPoint(0, box.height())), text, &box, {}, kShownMs);
}

} // namespace velmorandi
