#include "main/name_editor.h"

#include <QTimer>

#include <utility>

namespace velmorandi {

void NameEditor::selectBase(int length) {
    m_base = length;
    QTimer::singleShot(0, this, &NameEditor::applyBase);
}

void NameEditor::keyPressEvent(QKeyEvent* event) {
    applyBase();
    QLineEdit::keyPressEvent(event);
}

void NameEditor::mousePressEvent(QMouseEvent* event) {
    m_base = -1;
    QLineEdit::mousePressEvent(event);
}

void NameEditor::applyBase() {
    if (m_base >= 0)
        setSelection(0, std::exchange(m_base, -1));
}

} // namespace velmorandi
