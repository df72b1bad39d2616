#pragma once

#include <QString>
#include <QTableView>
#include <QWidget>
#include <QtGlobal>

namespace velmorandi::test {

// A control of the window by its object name; a missing one ends the test run.
template <class T> T* control(const QWidget& window, const QString& name) {
    auto* widget = window.findChild<T*>(name);
    if (widget == nullptr)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// The text of one cell of the rename grid.
inline QString gridCell(const QWidget& window, int row, int column) {
    return control<QTableView>(window, "MSFlexGrid1")
        ->model()
        ->index(row, column)
        .data()
        .toString();
}

} // namespace velmorandi::test
