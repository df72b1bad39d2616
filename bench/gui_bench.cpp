// The main window on a folder of a hundred thousand files: how long a folder
// change takes to show the grid's first rows, one Apply click to repaint, and
// a jump to the other end of the grid.
#include "bench.h"

#include "main/folder_list.h"
#include "main/main_window.h"
#include "shell/picture_button.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 5;

bool createFiles(const QString& folder, int count) {
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QFile::encodeName(folder) + "/photo " +
                                QByteArray::number(i).rightJustified(6, '0') + ".jpg";
        std::FILE* file = std::fopen(name.constData(), "w");
        if (file == nullptr)
            return false;
        std::fclose(file);
    }
    return true;
}

void click(QWidget* button) {
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmorandi;
    QApplication app(argc, argv);

    QTemporaryDir root;
    const QString big = root.path() + "/big";
    const QString small = root.path() + "/small";
    if (!root.isValid() || !createFiles(big, kFiles) || !createFiles(small, 1)) {
        std::fprintf(stderr, "gui bench: could not create the sample folders\n");
        return 1;
    }
    QDir::setCurrent(small);

    frmMainWindow window;
    window.show();
    QCoreApplication::processEvents();
    auto* dir1 = window.findChild<FolderList*>(QStringLiteral("Dir1"));
    auto* grid = window.findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
    const auto open = [&](const QString& folder) {
        emit dir1->openRequested(QFile::encodeName(folder).toStdString());
    };
    const auto showFirstRows = [&] {
        QCoreApplication::processEvents();
        grid->viewport()->repaint();
    };

    const double loadMs = bench::medianMs(
        kRuns,
        [&] {
            open(small);
            showFirstRows();
        },
        [&] {
            open(big);
            showFirstRows();
        });
    if (grid->model()->rowCount() != kFiles) {
        std::fprintf(stderr, "gui bench: the grid shows %d rows\n", grid->model()->rowCount());
        return 1;
    }
    bench::report("gui-load", kFiles, loadMs);

    // Upper and lower case by turns, so that every click rewrites every name.
    auto* upper = window.findChild<QRadioButton*>(QStringLiteral("oUpper"));
    auto* lower = window.findChild<QRadioButton*>(QStringLiteral("oLower"));
    auto* apply = window.findChild<PictureButton*>(QStringLiteral("ImgApply(1)"));
    const double applyMs = bench::medianMs(
        kRuns, [&] { (upper->isChecked() ? lower : upper)->setChecked(true); },
        [&] {
            click(apply);
            showFirstRows();
        });
    const QString firstEdited = grid->model()->index(0, 2).data().toString();
    if (firstEdited != QLatin1String("PHOTO 000000.jpg")) {
        std::fprintf(stderr, "gui bench: Apply left %s\n", qPrintable(firstEdited));
        return 1;
    }
    bench::report("gui-apply", kFiles, applyMs);

    // Scrolling must not freeze either: from the top to the last row and back.
    bool atBottom = true;
    const double scrollMs = bench::medianMs(
        kRuns, [] {},
        [&] {
            grid->scrollTo(grid->model()->index(atBottom ? kFiles - 1 : 0, 0));
            atBottom = !atBottom;
            showFirstRows();
        });
    bench::report("gui-scroll", kFiles, scrollMs);
    return 0;
}
