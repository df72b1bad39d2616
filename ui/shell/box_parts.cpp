#include "shell/box_parts.h"

#include "shell/window_look.h"

#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace velmorandi {

QLabel* makeBoxLabel(QWidget* box, const char* name, const QString& text) {
    auto* label = new QLabel(text, box);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, softText(box->palette()));
    label->setPalette(palette);
    return label;
}

QWidget* makeBoxRule(QWidget* box) {
    auto* rule = new QWidget(box);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setGeometry(24, 48, 336, 1);
    rule->setAutoFillBackground(true);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, towardGround(box->palette(), 0.5));
    rule->setPalette(palette);
    // A drawn line: moves over it belong to the box's background.
    rule->setAttribute(Qt::WA_TransparentForMouseEvents);
    return rule;
}

void paintBoxFrame(QWidget& box) {
    QPainter painter(&box);
    painter.setPen(QPen(box.palette().color(QPalette::WindowText), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.rect().adjusted(0, 0, -1, -1));
}

} // namespace velmorandi
