#include "second_instance_notice.h"

#include "start_words.h"

#include <QLayout>
#include <QMessageBox>
#include <QPainter>

namespace velmorandi {

namespace {

// The standard message box, borderless as every window of the program, also where
// the toolkit would draw a title bar of its own (Wayland). Without the window
// system's title bar, it draws its caption itself, and the program's other
// windows' one-pixel frame keeps it apart from what lies behind.
class Notice : public QMessageBox {
  public:
    explicit Notice(const QString& text)
        : QMessageBox(QMessageBox::NoIcon, QStringLiteral("Velmorandi"), text, QMessageBox::Ok) {
        setWindowFlag(Qt::FramelessWindowHint);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        // Room for the caption above what the box lays out itself.
        if (QLayout* grid = layout()) {
            QMargins margins = grid->contentsMargins();
            margins.setTop(captionHeight() + margins.top());
            grid->setContentsMargins(margins);
        }
        QMessageBox::showEvent(event);
    }

    void paintEvent(QPaintEvent* event) override {
        QMessageBox::paintEvent(event);
        QPainter painter(this);
        const QColor ink = palette().color(QPalette::WindowText);
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(ink);
        const int indent = fontMetrics().averageCharWidth();
        painter.drawText(QRect(indent, 0, width() - 2 * indent, captionHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
        painter.drawLine(0, captionHeight(), width() - 1, captionHeight());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    int captionHeight() const { return fontMetrics().height() * 2; }
};

void showNotice(const QString& text) {
    Notice notice(text);
    notice.exec();
}

} // namespace

void showSecondInstanceNotice() {
    showNotice(words::secondInstanceNotice());
}

void showFolderWaitsNotice() {
    showNotice(words::folderWaitsNotice());
}

} // namespace velmorandi
