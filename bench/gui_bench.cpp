// The main window on a folder of a hundred thousand files: how long a folder
// change takes to show the grid's first rows, one Apply click to repaint,
// fitting a name column, and a jump to the other end of the grid. With "job", also a first load of
// a million files in a fresh process, with the whole process's memory.
#include "bench.h"

#include "main/folder_list.h"
#include "main/main_window.h"
#include "platform/memory_policy.h"
#include "shell/picture_button.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 5;
constexpr std::size_t kManyFiles = 1000000;
constexpr int kFirstLoadRuns = 3;

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

QTableView* gridOf(QWidget& window) {
    return window.findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
}

void openFolder(QWidget& window, const QString& folder) {
    auto* dir1 = window.findChild<velmorandi::FolderList*>(QStringLiteral("Dir1"));
    emit dir1->openRequested(QFile::encodeName(folder).toStdString());
}

void showFirstRows(QTableView* grid) {
    QCoreApplication::processEvents();
    grid->viewport()->repaint();
}

// In a process of its own: the folder change to rows shown, then the memory
// of the whole process once it is idle. Prints "ms rss-MB peak-MB".
int childFirstLoad(int argc, char** argv, const QString& folder) {
    QApplication app(argc, argv);
    QDir::setCurrent(QString::fromStdString(velmorandi::bench::diskFolder()));
    velmorandi::frmMainWindow window;
    window.show();
    QCoreApplication::processEvents();
    QTableView* grid = gridOf(window);
    const auto start = std::chrono::steady_clock::now();
    openFolder(window, folder);
    showFirstRows(grid);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    QCoreApplication::processEvents();
    if (static_cast<std::size_t>(grid->model()->rowCount()) != kManyFiles)
        return 1;
    std::printf("%.1f %.1f %.1f\n", ms, velmorandi::bench::statusMegabytes("VmRSS:"),
                velmorandi::bench::statusMegabytes("VmHWM:"));
    return 0;
}

void measureFirstLoadOfMany() {
    using namespace velmorandi::bench;
    const std::string folder = makeDiskFolder("gui-load");
    createEmptyFiles(folder, "Photo_%010zu.jpg", kManyFiles);
    struct Figures {
        double ms, rssMb, peakMb;
    };
    std::vector<Figures> runs;
    for (int run = 0; run < kFirstLoadRuns; ++run) {
        const std::optional<std::string> text = childOutput("first-load", folder);
        Figures figures{};
        if (!text || std::sscanf(text->c_str(), "%lf %lf %lf", &figures.ms, &figures.rssMb,
                                 &figures.peakMb) != 3) {
            std::fprintf(stderr, "gui bench: the first load of %s failed\n", folder.c_str());
            std::exit(1);
        }
        runs.push_back(figures);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.ms < b.ms; });
    const Figures& median = runs[runs.size() / 2];
    std::printf("BENCH gui-first-load n=%zu ms=%.1f rss-mb=%.1f peak-mb=%.1f\n", kManyFiles,
                median.ms, median.rssMb, median.peakMb);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmorandi;
    platform::returnLargeBlocksWhenFreed(); // as the program does
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return childFirstLoad(argc, argv, QString::fromLocal8Bit(argv[3]));
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
    QTableView* grid = gridOf(window);
    const auto open = [&](const QString& folder) { openFolder(window, folder); };

    const double loadMs = bench::medianMs(
        kRuns,
        [&] {
            open(small);
            showFirstRows(grid);
        },
        [&] {
            open(big);
            showFirstRows(grid);
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
            showFirstRows(grid);
        });
    const QString firstEdited = grid->model()->index(0, 2).data().toString();
    if (firstEdited != QLatin1String("PHOTO 000000.jpg")) {
        std::fprintf(stderr, "gui bench: Apply left %s\n", qPrintable(firstEdited));
        return 1;
    }
    bench::report("gui-apply", kFiles, applyMs);

    // A double-click on a header's edge: the name column fitted to its longest name.
    const double fitMs = bench::medianMs(
        kRuns, [&] { grid->setColumnWidth(1, 50); }, [&] { grid->resizeColumnToContents(1); });
    if (grid->columnWidth(1) <= 50) {
        std::fprintf(stderr, "gui bench: the column was not fitted\n");
        return 1;
    }
    bench::report("gui-fit-column", kFiles, fitMs);

    // Scrolling must not freeze either: from the top to the last row and back.
    bool atBottom = true;
    const double scrollMs = bench::medianMs(
        kRuns, [] {},
        [&] {
            grid->scrollTo(grid->model()->index(atBottom ? kFiles - 1 : 0, 0));
            atBottom = !atBottom;
            showFirstRows(grid);
        });
    bench::report("gui-scroll", kFiles, scrollMs);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "job") == 0)
            measureFirstLoadOfMany();
    return 0;
}
