#pragma once

#include <QDir>
#include <QString>
#include <QTableView>
#include <QWidget>
#include <QtGlobal>

#include <string>

namespace velmorandi::test {

// A path as the program writes it: names joined by "\\" on Windows.
inline std::string native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

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
