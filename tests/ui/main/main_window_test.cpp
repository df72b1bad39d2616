#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/main_window.h"
#include "main/rename_grid_model.h"
#include "main/title_label.h"
#include "shell/overlay_box.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"
#include "window_test_support.h"

#include "platform/name_limit.h"
#include "run/run_testing.h"
#include "version.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <memory>

using namespace velmorandi;
using test::createFiles;
using test::filesOnDisk;
using test::ModalCloser;

namespace {

const QString kDriveNotReady = ModalCloser::shown(
    "Selected drive is not found ready for IO operations. Resetting the drive default to first "
    "accessible drive found.\r\n\r\nAlso check floppy, CD or DVD drive contains disk in it and "
    "is closed properly.");
const QString kFolderNotOpened = ModalCloser::shown(
    "Selected folder could not be opened.\r\n\r\nCheck that the folder still exists and that "
    "you may read it.");

// The contrast of the text in an area of a picture: the ground is the colour most of its
// pixels have, the text the pixel that stands out most from it.
double textContrast(const QImage& picture, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    double most = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        most = std::max(most, contrastRatio(QColor(it.key()), QColor(ground)));
    return most;
}

// Where each control of a window draws its own text, in the window's coordinates.
QList<std::pair<QString, QRect>> textAreas(const QWidget& window) {
    QList<std::pair<QString, QRect>> areas;
    const auto add = [&](const QWidget* control, const QRect& area, const QString& name = {}) {
        QRect shown = area.translated(control->mapTo(&window, QPoint()));
        // Within what shows of it: a command button's container cuts off its edges.
        for (const QWidget* w = control->parentWidget(); w != &window; w = w->parentWidget())
            shown &= QRect(w->mapTo(&window, QPoint()), w->size());
        if (!shown.isEmpty())
            areas.append({name.isEmpty() ? control->objectName() : name, shown});
    };
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(control);
            label && !label->text().isEmpty())
            add(label, label->contentsRect());
        else if (const auto* push = qobject_cast<const QPushButton*>(control))
            add(push, push->rect().adjusted(4, 4, -4, -4));
        else if (const auto* option = qobject_cast<const QRadioButton*>(control))
            add(option,
                option->rect().adjusted(
                    option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 4, 0, 0, 0));
        else if (const auto* frame = qobject_cast<const QGroupBox*>(control))
            add(frame, QRect(0, 0, frame->fontMetrics().horizontalAdvance(frame->title()) + 8,
                             frame->fontMetrics().height()));
        else if (const auto* box = qobject_cast<const QLineEdit*>(control);
                 box && !box->text().isEmpty())
            add(box, box->rect().adjusted(1, 1, -1, -1));
    }
    if (const auto* grid = window.findChild<QTableView*>("MSFlexGrid1")) {
        const QHeaderView* header = grid->horizontalHeader();
        for (int column = 0; column < header->count(); ++column)
            add(header,
                QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column) - 1,
                      header->height() - 1),
                QStringLiteral("header %1").arg(column));
        add(grid->viewport(), grid->visualRect(grid->model()->index(1, 1)).adjusted(0, 0, -1, -1),
            QStringLiteral("cell"));
    }
    return areas;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void typicalRunRenamesEveryFile();
    void refusedRenameShowsMessageAndMarksRows();
    void foldersOpenByEnterAndDoubleClick();
    void drivesThatFailOrGoAwayLeadToTheDefaultDrive();
    void forbiddenCharactersAndHelpKey();
    void hoverResetOnlyOnBackgroundFramesAndTitle();
    void titleDragsWithLeftButtonAlone();
    void warningButtonFollowsEachLoad();
    void opensTheFolderItWasStartedWith();
    void keyboardLeavesTheGridAndClicksButtonsGridKeepsItsPlace();
    void keyboardReachesEveryEditAndShowsWhereItIs();
    void longNamesAndRefusalsReadWholeByPointerKeysAndScreenReaders();
    void editsMarkTheNamesRenameWouldRefuseAndF8GoesThroughThem();
    void messageWindowAndGridHeaderShareTheWindowsLook();
    void everyTextReadsInLightDarkAndHighContrastThemes();
    void screenReadersNameEveryPictureButtonAndTheGrid();
    void windowGrowsFromItsLaidOutSizeAndTheGridTakesTheRoom();
    void oneNameTypedByHandIsAnEditLikeAnyOther();
    void rowsLeftOutKeepTheirNamesThroughEditsAndRename();
    void serialNumbersTheRowsInTheOrderShown();

  private:
    void openWindow(const std::string& startFolder = {}, const std::string& startFile = {});
    template <class T> T* child(const QString& name) { return test::control<T>(*m_window, name); }
    QString cell(int row, int column) { return test::gridCell(*m_window, row, column); }
    int rows() { return child<QTableView>("MSFlexGrid1")->model()->rowCount(); }
    // Through the window system, so the move lands on whatever lies under the pointer.
    void moveOver(QWidget* widget, QPoint at) {
        QTest::mouseMove(m_window->windowHandle(), widget->mapTo(m_window.get(), at));
    }
    void clickApply(int index) {
        QTest::mouseClick(child<PictureButton>(QStringLiteral("ImgApply(%1)").arg(index)),
                          Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmMainWindow> m_window;
};

void MainWindowTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void MainWindowTest::cleanup() {
    m_window.reset();
    QDir::setCurrent(QDir::tempPath());
    m_folder.reset();
}

// The program opens at the folder it was started in.
void MainWindowTest::openWindow(const std::string& startFolder, const std::string& startFile) {
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_window = std::make_unique<frmMainWindow>(nullptr, startFolder, false, startFile);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void MainWindowTest::typicalRunRenamesEveryFile() {
    createFiles(m_folder->path(), {"alpha.txt", "beta.txt", "gamma.log"});
    openWindow();
    QCOMPARE(m_window->size(), QSize(689, 425));
    QVERIFY(m_window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(child<QLabel>("lblTitle")->text(),
             "          Velmorandi " + QString::fromStdString(GetVersion()));
    // Every text in a face the system has, not a stand-in; and whatever the face, the
    // title's text starts clear of the icon.
    for (const QWidget* text : m_window->findChildren<QWidget*>())
        QCOMPARE(QFontInfo(text->font()).family(), text->font().family());
    auto* title = child<TitleLabel>("lblTitle");
    for (const int pixels : {11, 4}) {
        QFont face = title->font();
        face.setPixelSize(pixels);
        title->setFont(face);
        const int blanks = title->fontMetrics().horizontalAdvance(QString(10, ' '));
        QVERIFY(title->x() + title->indent() + blanks >
                child<QLabel>("Image1")->geometry().right());
    }
    QCOMPARE(m_window->focusWidget(), child<QWidget>("Dir1"));
    QCOMPARE(child<FolderList>("Dir1")->path(), test::native(m_folder->path()));
    QCOMPARE(rows(), 3);
    QCOMPARE(cell(0, 0), QString("1"));
    QCOMPARE(cell(2, 1), QString("gamma.log"));

    QTest::keyClicks(child<QLineEdit>("tFind"), "a:");
    QTest::keyClicks(child<QLineEdit>("tReplace"), "o");
    QCOMPARE(child<QLineEdit>("tFind")->text(), QString("a"));
    clickApply(0);
    QCOMPARE(cell(0, 2), QString("olpho.txt"));
    QCOMPARE(cell(2, 2), QString("gommo.log"));

    QTest::mouseClick(child<QRadioButton>("oLeftSerialize"), Qt::LeftButton);
    QVERIFY(child<QRadioButton>("oLeftSerialize")->isChecked());
    clickApply(3);
    QStringList expected = {"1olpho.txt", "2beto.txt", "3gommo.log"};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(cell(i, 2), expected[i]);

    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList());
    expected.sort();
    QCOMPARE(filesOnDisk(m_folder->path()), expected);
    QCOMPARE(rows(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(cell(i, 3), QString("Done"));
}

void MainWindowTest::refusedRenameShowsMessageAndMarksRows() {
    createFiles(m_folder->path(), {"a.txt", "b.txt", "c"});
    openWindow();
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    QCOMPARE(cell(0, 2), QString(".txt"));
    QCOMPARE(cell(2, 2), QString());

    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    // Only Windows' own build blames Windows' conventions.
    const QString conventions = platform::namesFollowWindowsRules()
                                    ? "Microsoft Windows filenaming conventions."
                                    : "the filenaming rules of Linux and Velmorandi.";
    QCOMPARE(closer.seen(),
             QStringList{"Could not invoke rename process. Some edited filename conflicts with " +
                         conventions +
                         "\n\nAlso check edited filename for no duplicacy and no blank wherever "
                         "status is marked for error."});
    for (int i = 0; i < 3; ++i)
        QCOMPARE(cell(i, 3), QString("Err!"));
    QCOMPARE(filesOnDisk(m_folder->path()), QStringList({"a.txt", "b.txt", "c"}));

    // Reset brings the listed names back and clears the marks.
    QTest::mouseClick(child<QPushButton>("CmdReset"), Qt::LeftButton);
    QCOMPARE(cell(1, 2), QString("b.txt"));
    QCOMPARE(cell(1, 3), QString());
}

void MainWindowTest::foldersOpenByEnterAndDoubleClick() {
    const QString top = m_folder->path();
    QVERIFY(QDir(top).mkpath("inner"));
    QVERIFY(QDir(top).mkpath(".hidden"));
    QVERIFY(QDir(top).mkpath("gone"));
    createFiles(top, {"top.txt"});
    createFiles(top + "/inner", {"x.txt", "y.txt"});
    openWindow();

    auto* dir1 = child<FolderList>("Dir1");
    const int topRow = dir1->currentRow();
    QCOMPARE(dir1->entry(topRow).path, test::native(top));
    QCOMPARE(dir1->count(), topRow + 3);
    QCOMPARE(dir1->entry(topRow + 1).name, std::string("gone"));
    QCOMPARE(dir1->entry(topRow + 2).name, std::string("inner"));

    const QString driveBefore = child<QComboBox>("Drive1")->currentText();
    dir1->setCurrentRow(topRow + 2);
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(dir1->path(), test::native(top + "/inner"));
    QCOMPARE(rows(), 2);
    QCOMPARE(cell(1, 1), QString("y.txt"));
    QCOMPARE(child<QComboBox>("Drive1")->currentText(), driveBefore);

    // Back up the chain with a double-click.
    const QRect topItem = dir1->visualItemRect(dir1->item(topRow));
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, topItem.center());
    QCOMPARE(dir1->path(), test::native(top));
    QCOMPARE(cell(0, 1), QString("top.txt"));

    // A folder deleted meanwhile: the message, and the list shows the loaded folder again,
    // read afresh.
    QVERIFY(QDir(top).rmdir("gone"));
    ModalCloser closer;
    dir1->setCurrentRow(topRow + 1);
    QTest::keyClick(dir1, Qt::Key_Enter);
    QCOMPARE(closer.seen(), QStringList{kFolderNotOpened});
    QCOMPARE(dir1->path(), test::native(top));
    QCOMPARE(dir1->currentRow(), topRow);
    QCOMPARE(dir1->count(), topRow + 2);
    QCOMPARE(dir1->entry(topRow + 1).name, std::string("inner"));
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(0, 1), QString("top.txt"));
}

void MainWindowTest::drivesThatFailOrGoAwayLeadToTheDefaultDrive() {
    createFiles(m_folder->path(), {"kept.txt"});
    openWindow();
    auto* drive1 = child<DriveList>("Drive1");
    auto* dir1 = child<FolderList>("Dir1");
    // The drive that holds the test's folder: "/", or the system drive on Windows.
    const std::string root = test::native(QDir::rootPath());

    drive1->setDrives({{"/", root}, {"/media/empty", "/nonexistent-velmorandi-drive"}});
    {
        ModalCloser closer;
        drive1->setCurrentIndex(1);
        QCOMPARE(closer.seen(), QStringList{kDriveNotReady});
    }
    QCOMPARE(drive1->currentIndex(), 0);
    QCOMPARE(dir1->path(), test::native(m_folder->path()));
    QCOMPARE(cell(0, 1), QString("kept.txt"));

    // The default drive cannot be read either: one message more, then stop.
    drive1->setDrives(
        {{"/media/a", "/nonexistent-velmorandi-a"}, {"/media/b", "/nonexistent-velmorandi-b"}});
    {
        ModalCloser closer;
        drive1->setCurrentIndex(1);
        QCOMPARE(closer.seen(), QStringList({kDriveNotReady, kDriveNotReady}));
    }
    QCOMPARE(drive1->currentIndex(), 0);
    QCOMPARE(dir1->path(), test::native(m_folder->path()));
    QCOMPARE(rows(), 1);

    // A drive that goes away while it holds the open folder: the window says so and
    // moves to the default drive, at its own folder, not at the drive's old place.
    const QString stick = m_folder->path() + "/stick";
    QVERIFY(QDir().mkpath(stick));
    createFiles(stick, {"photo.jpg"});
    std::vector<DriveEntry> mounted = {{"/", root}, {"/media/stick [STICK]", test::native(stick)}};
    drive1->setDriveSource([&] { return mounted; });
    drive1->setDrives(mounted);
    drive1->setCurrentIndex(1);
    QCOMPARE(cell(0, 1), QString("photo.jpg"));
    mounted = {{"/", root}};
    {
        ModalCloser closer;
        drive1->refresh();
        QTRY_COMPARE(closer.seen(), QStringList{"The drive /media/stick [STICK] is gone, and with "
                                                "it the folder that was open.\n\nVelmorandi "
                                                "shows the default drive instead."});
    }
    QCOMPARE(drive1->entryTexts(), QStringList{"/"});
    QCOMPARE(drive1->currentIndex(), 0);
    QCOMPARE(dir1->path(), test::native(m_folder->path()));
    QCOMPARE(cell(0, 1), QString("kept.txt"));

    // The only drive's current folder has gone: one message, then the drive's root.
    // Windows removes no process's current folder.
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QVERIFY(m_folder->remove());
    drive1->setDrives({{"/", root}});
    {
        ModalCloser closer;
        drive1->setCurrentIndex(0);
        QCOMPARE(closer.seen(), QStringList{kDriveNotReady});
    }
    QCOMPARE(dir1->path(), root);
}

void MainWindowTest::forbiddenCharactersAndHelpKey() {
    openWindow();
    auto* text = child<QLineEdit>("tText");
    QTest::keyClicks(text, "x\"|\\/:*?<>y");
    QCOMPARE(text->text(), QString("xy"));
    QTest::keyClicks(text, "1 -_.");
    QTest::keyClick(text, Qt::Key_Backspace);
    QCOMPARE(text->text(), QString("xy1 -_"));

    // F1 reaches the folder list, which passes it up to the window: one About window.
    ModalCloser closer;
    QTest::keyClick(child<FolderList>("Dir1"), Qt::Key_F1);
    QTest::keyClick(text, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier);
    QTest::mouseClick(child<PictureButton>("ImgQbut"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList(4, "frmHelpAbout"));
}

void MainWindowTest::hoverResetOnlyOnBackgroundFramesAndTitle() {
    openWindow();
    auto* apply2 = child<PictureButton>("ImgApply(2)");
    auto* close = child<PictureButton>("ImgXbut");
    auto* help = child<PictureButton>("ImgQbut");
    const auto hover = [&] {
        for (PictureButton* button : {apply2, close, help})
            button->setState(PictureButton::State::Hover);
    };
    const auto allNormal = [&] {
        return apply2->state() == PictureButton::State::Normal &&
               close->state() == PictureButton::State::Normal &&
               help->state() == PictureButton::State::Normal;
    };

    hover();
    auto* grid = child<QTableView>("MSFlexGrid1");
    moveOver(grid->viewport(), QPoint(50, 50));
    moveOver(child<QRadioButton>("oUpper"), QPoint(20, 8));
    moveOver(child<QPushButton>("CmdRename"), QPoint(10, 10));
    moveOver(child<QWidget>("Label4"), QPoint(5, 5));
    QCOMPARE(close->state(), PictureButton::State::Hover);
    QCOMPARE(apply2->state(), PictureButton::State::Hover);

    moveOver(m_window.get(), QPoint(5, 300));
    QVERIFY(allNormal());

    hover();
    moveOver(child<QWidget>("Frame1(3)"), QPoint(75, 30));
    QVERIFY(allNormal());

    hover();
    moveOver(child<QWidget>("lblTitle"), QPoint(300, 8));
    QVERIFY(allNormal());
}

void MainWindowTest::titleDragsWithLeftButtonAlone() {
    openWindow();
    auto* title = child<QWidget>("lblTitle");
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, at, title->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(title, &event);
    };
    const QPoint start = m_window->pos();

    send(QEvent::MouseButtonPress, {100, 8}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {130, 18}, Qt::NoButton, Qt::LeftButton);
    QTRY_COMPARE(m_window->pos(), start + QPoint(30, 10));

    // Left and right together do not move the window, but reset the buttons.
    child<PictureButton>("ImgQbut")->setState(PictureButton::State::Hover);
    send(QEvent::MouseMove, {160, 18}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    send(QEvent::MouseButtonRelease, {160, 18}, Qt::LeftButton, Qt::RightButton);
    send(QEvent::MouseMove, {170, 18}, Qt::NoButton, Qt::RightButton);
    QCOMPARE(child<PictureButton>("ImgQbut")->state(), PictureButton::State::Normal);

    // A right-button press sets the anchor too; the window lands where this drag
    // alone takes it, so the moves before it moved nothing.
    send(QEvent::MouseButtonPress, {50, 5}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {50, 5}, Qt::RightButton, Qt::NoButton);
    send(QEvent::MouseMove, {45, 9}, Qt::NoButton, Qt::LeftButton);
    QTRY_COMPARE(m_window->pos(), start + QPoint(25, 14));

    // The offscreen platform cannot move windows itself, so the drags above were the
    // title's own. Where the window system takes the drag, the title leaves it alone.
    QList<QWindow*> handedOver;
    auto* label = child<TitleLabel>("lblTitle");
    label->setSystemMove([&](QWindow* window) {
        handedOver << window;
        return true;
    });
    const QPoint before = m_window->pos();
    send(QEvent::MouseButtonPress, {50, 5}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {50, 5}, Qt::RightButton, Qt::NoButton);
    QCOMPARE(handedOver.size(), 0);
    send(QEvent::MouseButtonPress, {100, 8}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {130, 18}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {130, 18}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(handedOver, QList<QWindow*>{m_window->windowHandle()});
    // Where the system refuses, the title drags; only this drag moved the window.
    label->setSystemMove([](QWindow*) { return false; });
    send(QEvent::MouseButtonPress, {100, 8}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {110, 12}, Qt::NoButton, Qt::LeftButton);
    QTRY_COMPARE(m_window->pos(), before + QPoint(10, 4));
}

void MainWindowTest::warningButtonFollowsEachLoad() {
    QVERIFY(QDir(m_folder->path()).mkpath("plain"));
    createFiles(m_folder->path(), {"CONFIG.SYS", "other.txt"});
    createFiles(m_folder->path() + "/plain", {"x.txt"});
    openWindow();
    auto* warning = child<PictureButton>("ImgAbut");
    QVERIFY(warning->isVisible());
    {
        ModalCloser closer;
        QTest::mouseClick(warning, Qt::LeftButton);
        QCOMPARE(closer.seen(),
                 QStringList{"It is not advisable to rename some of the listed files.\n\nIt may "
                             "cause serious damages to the operating system of this computer. "
                             "Renaming these files may also result undesirable to the execution "
                             "of the programs that is dependent of these files."});
    }

    auto* dir1 = child<FolderList>("Dir1");
    dir1->openRow(dir1->count() - 1);
    QCOMPARE(dir1->path(), test::native(m_folder->path() + "/plain"));
    QVERIFY(!warning->isVisible());

    // The program's own folder: the warning says what it is, and a Rename
    // there touches nothing (should it try, the disk refuses every rename).
    m_window.reset();
    const QString own = QCoreApplication::applicationDirPath();
    const QStringList ownFiles = filesOnDisk(own);
    openWindow(test::native(own));
    warning = child<PictureButton>("ImgAbut");
    QVERIFY(warning->isVisible());
    int renames = 0;
    RunTesting refusing;
    refusing.seam = [&renames](DiskCall call, std::string_view, std::string_view,
                               const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (call != DiskCall::Rename && call != DiskCall::Exchange && call != DiskCall::Link &&
            call != DiskCall::RenameOntoPlaceholder)
            return perform();
        ++renames;
        return SystemError{5, "refused by the test"};
    };
    m_window->setRunTesting(refusing);
    QTest::keyClicks(child<QLineEdit>("tText"), "old_");
    QTest::mouseClick(child<QRadioButton>("oLeftText"), Qt::LeftButton);
    clickApply(2);
    ModalCloser closer;
    QTest::mouseClick(warning, Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(),
             (QStringList{"This is the folder Velmorandi runs from.\n\nIts files are not renamed "
                          "here: Velmorandi needs them to start. Choose a folder of your own "
                          "files.",
                          QString::fromStdString(test::native(own)) +
                              " is the folder Velmorandi runs from.\n\nNo file "
                              "has been renamed: Velmorandi does not rename its "
                              "own files, which it needs to start. Choose a "
                              "folder of your own files."}));
    QCOMPARE(renames, 0);
    QCOMPARE(filesOnDisk(own), ownFiles);
    QVERIFY(warning->isVisible());
}

void MainWindowTest::opensTheFolderItWasStartedWith() {
    const QString deeper = m_folder->path() + "/holiday/day trips";
    QVERIFY(QDir().mkpath(deeper + "/scans"));
    QStringList photos;
    for (int i = 0; i < 300; ++i)
        photos << QString("photo %1.jpg").arg(i, 3, 10, QChar('0'));
    createFiles(deeper, photos);
    createFiles(m_folder->path(), {"started-here.txt"});
    {
        // Given a file of the folder (dropped on the launcher), its row is current and in sight.
        ModalCloser closer;
        openWindow(test::native(deeper), "photo 250.jpg");
        QCOMPARE(closer.seen(), QStringList());
    }
    auto* grid = child<QTableView>("MSFlexGrid1");
    QCOMPARE(grid->currentIndex().row(), 250);
    QCOMPARE(cell(grid->currentIndex().row(), 1), QString("photo 250.jpg"));
    QTRY_VERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())));
    auto* dir1 = child<FolderList>("Dir1");
    auto* drive1 = child<DriveList>("Drive1");
    QCOMPARE(dir1->path(), test::native(deeper));
    QCOMPARE(drive1->drive(), test::native(QStorageInfo(deeper).rootPath()));
    // The chain from the drive's root down to the folder, then its sub-folder.
    const int current = dir1->currentRow();
    QCOMPARE(dir1->entry(0).path, drive1->drive());
    QCOMPARE(dir1->entry(current - 1).path, test::native(m_folder->path() + "/holiday"));
    QVERIFY(dir1->entry(current).onChain);
    QCOMPARE(dir1->entry(current + 1).name, std::string("scans"));
    QCOMPARE(rows(), 300);

    // A folder that cannot be read: the message names it, then the start as without it.
    m_window.reset();
    const QString missing = QDir::toNativeSeparators(m_folder->path() + "/no such folder");
    {
        ModalCloser closer;
        openWindow(missing.toStdString());
        QCOMPARE(closer.seen(), QStringList{"The folder " + missing +
                                            " could not be opened.\n\nCheck that the folder "
                                            "still exists and that you may read it."});
    }
    QCOMPARE(child<FolderList>("Dir1")->path(), test::native(m_folder->path()));
    QCOMPARE(child<DriveList>("Drive1")->currentText(),
             child<DriveList>("Drive1")->entryTexts().first());
    QCOMPARE(cell(0, 1), QString("started-here.txt"));
}

void MainWindowTest::keyboardLeavesTheGridAndClicksButtonsGridKeepsItsPlace() {
    QStringList names;
    for (int i = 0; i < 80; ++i)
        names << QString("file %1.txt").arg(i, 2, 10, QChar('0'));
    createFiles(m_folder->path(), names);
    openWindow();
    QApplication::setActiveWindow(m_window.get());
    auto* grid = child<QTableView>("MSFlexGrid1");

    // Tab and Shift+Tab leave the grid along the tab order; the arrows move between cells.
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(3, 1));
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->currentIndex(), grid->model()->index(4, 2));
    // Tab goes round to the title band's buttons, then to the folder list.
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("ImgQbut"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("Dir1"));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("CmdBlank"));

    // Enter clicks the focused command button, as Space does.
    QTest::keyClick(child<QPushButton>("CmdBlank"), Qt::Key_Return);
    QCOMPARE(cell(0, 2), QString(".txt"));
    auto* reset = child<QPushButton>("CmdReset");
    reset->setFocus();
    QTest::keyClick(reset, Qt::Key_Enter);
    QCOMPARE(cell(0, 2), QString("file 00.txt"));

    // Edits, Blank, a refused Rename and Reset keep the current cell, the selection and
    // the scroll position.
    const QModelIndex far = grid->model()->index(61, 1);
    grid->setCurrentIndex(far);
    grid->selectionModel()->select(QItemSelection(far, grid->model()->index(63, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    grid->scrollTo(far, QAbstractItemView::PositionAtCenter);
    const int scrolled = grid->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    const auto placeKept = [&](const char* after) {
        QVERIFY2(grid->currentIndex() == far, after);
        QVERIFY2(grid->selectionModel()->selectedIndexes() == selected, after);
        QVERIFY2(grid->verticalScrollBar()->value() == scrolled, after);
    };
    QTest::keyClicks(child<QLineEdit>("tFind"), "file");
    clickApply(0);
    placeKept("an edit");
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    placeKept("Blank");
    {
        ModalCloser closer;
        QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
        QCOMPARE(closer.seen().size(), 1);
    }
    QCOMPARE(cell(61, 3), QString("Err!"));
    placeKept("a refused Rename");
    QTest::mouseClick(reset, Qt::LeftButton);
    placeKept("Reset");
    // A completed Rename whose new names keep their order.
    QTest::keyClicks(child<QLineEdit>("tReplace"), "photo");
    clickApply(0);
    {
        ModalCloser closer;
        QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
        QCOMPARE(closer.seen(), QStringList());
    }
    QCOMPARE(cell(61, 1), QString("photo 61.txt"));
    QCOMPARE(cell(61, 3), QString("Done"));
    placeKept("a completed Rename");
}

void MainWindowTest::keyboardReachesEveryEditAndShowsWhereItIs() {
    createFiles(m_folder->path(), {"alpha.txt", "beta.txt"});
    openWindow();
    QApplication::setActiveWindow(m_window.get());
    auto* find = child<QLineEdit>("tFind");
    auto* replace = child<QLineEdit>("tReplace");
    auto* text = child<QLineEdit>("tText");
    const auto focused = [] { return QApplication::focusWidget(); };
    const auto looks = [](QWidget* control) { return control->grab().toImage(); };

    // Enter in Find or Replace applies Find & Replace, in String Add String; the typing
    // rules stay.
    QTest::keyClicks(find, "a");
    QTest::keyClicks(replace, "o");
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(cell(0, 2), QString("olpho.txt"));
    find->clear();
    replace->clear();
    QTest::keyClicks(find, "o");
    QTest::keyClicks(replace, "u|");
    QTest::keyClick(replace, Qt::Key_Enter);
    QCOMPARE(cell(0, 2), QString("ulphu.txt"));
    QTest::mouseClick(child<QRadioButton>("oRightText"), Qt::LeftButton);
    QTest::keyClicks(text, "_v:2");
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(cell(0, 2), QString("ulphu_v2.txt"));
    QCOMPARE(cell(1, 2), QString("betu_v2.txt"));

    // Tab reaches each Apply button after what its frame holds; it shows the focus, and
    // Space or Enter presses it.
    replace->setFocus();
    QTest::keyClick(replace, Qt::Key_Tab);
    auto* applyFind = child<PictureButton>("ImgApply(0)");
    QCOMPARE(focused(), applyFind);
    const QImage withFocus = looks(applyFind);
    QTest::mouseClick(child<QRadioButton>("oLeftSerialize"), Qt::LeftButton);
    child<QRadioButton>("oRightSerialize")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab);
    auto* applySerial = child<PictureButton>("ImgApply(3)");
    QCOMPARE(focused(), applySerial);
    QVERIFY(looks(applyFind) != withFocus);
    QCOMPARE(looks(applySerial), withFocus);
    QTest::keyClick(applySerial, Qt::Key_Space);
    QCOMPARE(cell(1, 2), QString("2betu_v2.txt"));
    QTest::mouseClick(child<QRadioButton>("oUpper"), Qt::LeftButton);
    child<QRadioButton>("oSentence")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), child<PictureButton>("ImgApply(1)"));
    QTest::keyClick(focused(), Qt::Key_Enter);
    QCOMPARE(cell(1, 2), QString("2BETU_V2.txt"));

    // The drive list shows when it has the focus, within the part of it that shows.
    auto* drive1 = child<DriveList>("Drive1");
    auto* driveFace = child<QWidget>("Picture1(0)");
    const QImage driveAlone = looks(driveFace);
    child<QWidget>("Dir1")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), drive1);
    const QPoint driveName(driveFace->width() * 2 / 3, driveFace->height() / 2);
    QVERIFY(looks(driveFace).pixel(driveName) != driveAlone.pixel(driveName));

    // Tab into the grid lands on a name, where typing finds a file, and frames that cell.
    auto* grid = child<QTableView>("MSFlexGrid1");
    child<QPushButton>("CmdBlank")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), grid);
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
    const QImage cells = looks(grid->viewport());
    const auto leftEdge = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        return cells.pixelColor(cell.left() + 1, cell.center().y());
    };
    QCOMPARE(leftEdge(0), grid->palette().color(QPalette::Text));
    QVERIFY(leftEdge(1) != grid->palette().color(QPalette::Text));
    QTest::keyClicks(grid, "b");
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
}

void MainWindowTest::longNamesAndRefusalsReadWholeByPointerKeysAndScreenReaders() {
    const QString longName = "zz 2023-07-14 Rome - Colosseum at sunset, the whole family in front "
                             "of the arch before dinner v2.jpg";
    QStringList names;
    for (int i = 0; i < 1999; ++i)
        names << QString("a%1.txt").arg(i, 4, 10, QChar('0'));
    createFiles(m_folder->path(), names + QStringList{longName});
    QVERIFY(QDir(m_folder->path()).mkdir("other"));
    openWindow();
    auto* grid = child<QTableView>("MSFlexGrid1");
    QCOMPARE(rows(), 2000);
    const auto tipAt = [&](int row, int column) {
        QToolTip::hideText();
        const QModelIndex index = grid->model()->index(row, column);
        grid->scrollTo(index);
        const QPoint at = grid->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };

    // Both name columns tell the whole name, however narrow they are.
    QVERIFY(grid->columnWidth(1) < QFontMetrics(grid->font()).horizontalAdvance(longName));
    QCOMPARE(tipAt(1999, 1), longName);
    QCOMPARE(tipAt(1999, 2), longName);

    // A double-click on a header's edge fits the column to its longest name, even one far
    // out of sight; dragging the edge resizes it.
    grid->scrollToTop();
    QHeaderView* header = grid->horizontalHeader();
    const auto edgeOf = [&](int column) {
        return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) - 1,
                      header->height() / 2);
    };
    const int ownWidth = header->sectionSize(1);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, edgeOf(1));
    QVERIFY2(header->sectionSize(1) > QFontMetrics(grid->font()).horizontalAdvance(longName),
             qPrintable(QString::number(header->sectionSize(1))));
    const int before = header->sectionSize(2);
    const QPoint edge = edgeOf(2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
    QMouseEvent drag(QEvent::MouseMove, edge + QPoint(40, 0),
                     header->viewport()->mapToGlobal(edge + QPoint(40, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &drag);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge + QPoint(40, 0));
    QCOMPARE(header->sectionSize(2), before + 40);

    // From the keyboard: a shortened name moved onto shows its tooltip, Ctrl+Plus fits the
    // column. A screen reader hears the whole name.
    const auto cellSaid = [&](int row, int column, QAccessible::Text what) {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
        return table->tableInterface()->cellAt(row, column)->text(what);
    };
    QCOMPARE(cellSaid(1999, 2, QAccessible::Name), longName);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1998, 2));
    QToolTip::hideText();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), longName);
    QTest::keyClick(grid, Qt::Key_Up);
    QTRY_VERIFY(!QToolTip::isVisible());
    QTest::keyClick(grid, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(header->sectionSize(2) > QFontMetrics(grid->font()).horizontalAdvance(longName));

    // A refused row says why: one line per rule it breaks.
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    {
        ModalCloser closer;
        QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    }
    QCOMPARE(cell(0, 3), QString("Err!"));
    const QString duplicateAndDot = tipAt(0, 3);
    const QString dotAlone = tipAt(1999, 3);
    QCOMPARE(duplicateAndDot.split('\n').size(), 2);
    QCOMPARE(dotAlone.split('\n').size(), 1);
    QVERIFY(duplicateAndDot.contains(dotAlone));
    // The same reason is every cell's description, the status cell's tooltip when moved onto,
    // and what "Why…" in the menu key's menu says.
    for (int column = 0; column < 4; ++column)
        QCOMPARE(cellSaid(0, column, QAccessible::Description), duplicateAndDot);
    QCOMPARE(cellSaid(0, 3, QAccessible::Name), QString("Err!"));
    grid->setCurrentIndex(grid->model()->index(0, 2));
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), duplicateAndDot);
    bool whyOffered = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* why = menu == nullptr ? nullptr : menu->findChild<QAction*>("mnuWhy");
        if (menu != nullptr)
            menu->close();
        whyOffered = why != nullptr && why->isEnabled();
        if (whyOffered)
            why->trigger();
    });
    ModalCloser closer;
    QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(whyOffered);
    QTRY_COMPARE(closer.seen().size(), 1);
    QVERIFY2(closer.seen().first().endsWith("\n\n" + duplicateAndDot),
             qPrintable(closer.seen().first()));

    // In another folder the fitted columns have their own widths again; a dragged one keeps its.
    auto* dir1 = child<FolderList>("Dir1");
    dir1->openRow(dir1->count() - 1);
    QCOMPARE(dir1->path(), test::native(m_folder->path() + "/other"));
    QCOMPARE(header->sectionSize(1), ownWidth);
    QCOMPARE(header->sectionSize(2), before);
    QApplication::processEvents(); // the view lays out its scroll bars when it next can
    const QPoint edgeNow = edgeOf(2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edgeNow);
    QMouseEvent dragAgain(QEvent::MouseMove, edgeNow + QPoint(40, 0),
                          header->viewport()->mapToGlobal(edgeNow + QPoint(40, 0)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &dragAgain);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edgeNow + QPoint(40, 0));
    dir1->openRow(dir1->count() - 2);
    QCOMPARE(dir1->path(), test::native(m_folder->path()));
    QCOMPARE(header->sectionSize(2), before + 40);
}

void MainWindowTest::editsMarkTheNamesRenameWouldRefuseAndF8GoesThroughThem() {
    createFiles(m_folder->path(), {"dup_Q1.txt", "dup_Q2.txt", "dot_Q3.txt", "Q4", "long_Q5.txt",
                                   "Q6", "keep.txt", "Q7.txt", "plain.txt", "Q8"});
    QVERIFY(QDir(m_folder->path()).mkdir("sub"));
    openWindow();
    auto* grid = child<QTableView>("MSFlexGrid1");
    const auto rowOf = [&](const QString& listed) {
        for (int row = 0; row < rows(); ++row)
            if (cell(row, 1) == listed)
                return row;
        return -1;
    };
    // A text only one name holds: each edit reaches one row.
    for (const auto& [find, with] : QList<std::pair<QString, QString>>{{"_Q1", ""},
                                                                       {"_Q2", ""},
                                                                       {"dot_Q3", ""},
                                                                       {"Q4", ""},
                                                                       {"_Q5", QString(300, 'L')},
                                                                       {"Q6", "sub"},
                                                                       {"Q7", "keep"},
                                                                       {"Q8", "w "}}) {
        child<QLineEdit>("tFind")->setText(find);
        child<QLineEdit>("tReplace")->setText(with);
        clickApply(0);
    }
    const auto sameAs = [&](const QString& other) {
        return QString("Row %1 has the same edited filename.").arg(rowOf(other) + 1);
    };
    QMap<QString, QString> expected = {
        {"dup_Q1.txt", sameAs("dup_Q2.txt")},
        {"dup_Q2.txt", sameAs("dup_Q1.txt")},
        {"dot_Q3.txt", "The edited filename begins with a dot."},
        {"Q4", "The edited filename is empty."},
        {"long_Q5.txt", "The edited filename is too long for this drive."},
        {"Q6", "Another file or folder in this folder already has this name."},
        {"Q7.txt", sameAs("keep.txt")},
        {"keep.txt", sameAs("Q7.txt")}};
    if (platform::namesFollowWindowsRules())
        expected["Q8"] = "The edited filename ends in a space, which the system does not allow.";

    // Marked in the edited name with the reason; the status stays Rename's.
    const auto said = [&](int row) {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
        return table->tableInterface()->cellAt(row, 2)->text(QAccessible::Description);
    };
    // The sign (yellow) and the error colour (red) show where the name is marked, and
    // nowhere else: the rest is black on white.
    const auto warm = [&](int row) {
        grid->scrollTo(grid->model()->index(row, 2));
        const QImage shown =
            grid->viewport()->grab(grid->visualRect(grid->model()->index(row, 2))).toImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (const QColor c = shown.pixelColor(x, y); c.red() > c.blue() + 60)
                    return true;
        return false;
    };
    QList<int> marked;
    for (int row = 0; row < rows(); ++row) {
        const QModelIndex index = grid->model()->index(row, 2);
        const QString reason = expected.value(cell(row, 1));
        QCOMPARE(index.data(RenameGridModel::RefusedRole).toBool(), !reason.isEmpty());
        QCOMPARE(said(row), reason);
        QCOMPARE(warm(row), !reason.isEmpty());
        QCOMPARE(cell(row, 3), QString());
        if (reason.isEmpty())
            continue;
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), cell(row, 2) + '\n' + reason);
        marked << row;
    }
    QCOMPARE(marked.size(), expected.size());

    // F8 from anywhere: the next marked name, round and round, with its reason; Shift+F8 back.
    child<QLineEdit>("tFind")->setFocus();
    for (int i = 0; i <= marked.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->currentIndex(), grid->model()->index(marked[i % marked.size()], 2));
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(),
                 grid->currentIndex().data(Qt::ToolTipRole).toString());
    }
    QTest::keyClick(grid, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(grid->currentIndex().row(), marked.last());

    // Rename alone writes "Err!".
    {
        ModalCloser closer;
        QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    }
    QCOMPARE(cell(rowOf("dup_Q1.txt"), 3), QString("Err!"));
    QTest::mouseClick(child<QPushButton>("CmdReset"), Qt::LeftButton);
    for (int row = 0; row < rows(); ++row)
        QVERIFY(!grid->model()->index(row, 2).data(RenameGridModel::RefusedRole).toBool());
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F8);
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
}

void MainWindowTest::messageWindowAndGridHeaderShareTheWindowsLook() {
    createFiles(m_folder->path(), {"a.txt", "b.txt"});
    openWindow();
    const QColor ground = m_window->palette().color(m_window->backgroundRole());

    // Beyond the last column the header shows the grid's ground, as the area below the rows does.
    auto* grid = child<QTableView>("MSFlexGrid1");
    const QHeaderView* header = grid->horizontalHeader();
    QVERIFY(header->length() + 4 < header->width());
    const QImage gridLook = grid->grab().toImage();
    const QPoint beyondColumns =
        header->mapTo(grid, QPoint(header->length() + 3, header->height() / 2));
    const QPoint belowRows =
        grid->viewport()->mapTo(grid, QPoint(40, grid->viewport()->height() - 5));
    QCOMPARE(QColor(gridLook.pixel(beyondColumns)), QColor(gridLook.pixel(belowRows)));

    // The message window: the main window's ground, no square around its close button, and
    // the main window's size of text.
    QImage message;
    int messagePixels = 0;
    QPoint besideText;
    QPoint closeCorner;
    QTimer::singleShot(0, [&] {
        QWidget* box = OverlayBox::waiting();
        if (box == nullptr)
            return;
        message = box->grab().toImage();
        const QLabel* text = box->findChild<QLabel*>("lblMessage");
        messagePixels = QFontInfo(text->font()).pixelSize();
        besideText = text->mapTo(box, QPoint(-4, 0));
        closeCorner = box->findChild<PictureButton*>("ImgXbut")->geometry().topLeft();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QVERIFY(!message.isNull());
    QCOMPARE(QColor(message.pixel(besideText)), ground);
    QCOMPARE(QColor(message.pixel(closeCorner)), ground);
    QCOMPARE(messagePixels, QFontInfo(child<QLabel>("Label1")->font()).pixelSize());
}

void MainWindowTest::screenReadersNameEveryPictureButtonAndTheGrid() {
    createFiles(m_folder->path(), {"a.txt", "b.txt"});
    openWindow();
    const QMap<QString, QString> names = {{"ImgApply(0)", "Apply Find & Replace"},
                                          {"ImgApply(1)", "Apply Change Case"},
                                          {"ImgApply(2)", "Apply Add String"},
                                          {"ImgApply(3)", "Apply Serial"},
                                          {"ImgApply(4)", "Apply Trim"},
                                          {"ImgAbut", "Protected files warning"},
                                          {"ImgQbut", "Help"},
                                          {"ImgXbut", "Close"}};
    QStringList descriptions;
    const auto spoken = [&](QWidget* control, QAccessible::Role role) {
        QAccessibleInterface* said = QAccessible::queryAccessibleInterface(control);
        if (said == nullptr || said->role() != role)
            return QString("no %1 for %2").arg(role).arg(control->objectName());
        descriptions << said->text(QAccessible::Description);
        return said->text(QAccessible::Name);
    };
    QStringList seen;
    for (PictureButton* button : m_window->findChildren<PictureButton*>()) {
        QCOMPARE(spoken(button, QAccessible::Button), names.value(button->objectName()));
        seen << button->objectName();
    }
    seen.sort();
    QCOMPARE(seen, QStringList(names.keys()));
    QCOMPARE(spoken(child<QTableView>("MSFlexGrid1"), QAccessible::Table), QString("Rename grid"));

    // Every control that takes the focus has a name to be read; a text box its label's.
    for (QWidget* control : m_window->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(m_window.get()))
            continue;
        const QAccessibleInterface* said = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(!said->text(QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
    }
    // Three frames show a "Left": each is named with its frame.
    auto* addLeft = child<QRadioButton>("oLeftText");
    QCOMPARE(addLeft->text(), QString("Left"));
    QCOMPARE(QAccessible::queryAccessibleInterface(addLeft)->text(QAccessible::Name),
             QString("Add String: Left"));
    QSet<QString> optionNames;
    for (QRadioButton* option : m_window->findChildren<QRadioButton*>())
        optionNames << QAccessible::queryAccessibleInterface(option)->text(QAccessible::Name);
    QCOMPARE(optionNames.size(), m_window->findChildren<QRadioButton*>().size());
    for (const auto& [box, label] : {std::pair{"tFind", "Label1"}, std::pair{"tReplace", "Label2"},
                                     std::pair{"tText", "Label3"}})
        QCOMPARE(
            QAccessible::queryAccessibleInterface(child<QLineEdit>(box))->text(QAccessible::Name),
            child<QLabel>(label)->text());
    // The drive list says what it is, and which drive is chosen as its value.
    QAccessibleInterface* drive = QAccessible::queryAccessibleInterface(child<DriveList>("Drive1"));
    QVERIFY(drive->text(QAccessible::Name) != child<DriveList>("Drive1")->currentText());
    QCOMPARE(drive->text(QAccessible::Value), child<DriveList>("Drive1")->currentText());
    QCOMPARE(drive->textInterface()->text(0, drive->textInterface()->characterCount()),
             child<DriveList>("Drive1")->currentText());

    // The close buttons of the windows that open over this one.
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    const std::function<void()> openers[] = {
        [&] { QTest::keyClick(child<QWidget>("Dir1"), Qt::Key_F1); },
        [&] { QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton); }};
    for (const std::function<void()>& open : openers) {
        QString closeName;
        QTimer::singleShot(0, [&] {
            QWidget* box = OverlayBox::waiting();
            if (box == nullptr)
                return;
            closeName = spoken(box->findChild<PictureButton*>("ImgXbut"), QAccessible::Button);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        ModalCloser closer;
        open();
        QCOMPARE(closeName, QString("Close"));
    }
    QVERIFY(!descriptions.contains(QString()));
    QCOMPARE(descriptions.size(), names.size() + 3);
}

// The program's own colours each come with the colour they are drawn on, or both come from
// the theme: whatever the theme, every text stands out at 4.5:1 at least.
void MainWindowTest::everyTextReadsInLightDarkAndHighContrastThemes() {
    createFiles(m_folder->path(), {"a.txt", "b.txt", "c.txt"});
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x35, 0x35, 0x35)},
                                       {QPalette::WindowText, QColor(Qt::white)},
                                       {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
                                       {QPalette::Text, QColor(Qt::white)},
                                       {QPalette::Button, QColor(0x35, 0x35, 0x35)},
                                       {QPalette::ButtonText, QColor(Qt::white)},
                                       {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                       {QPalette::HighlightedText, QColor(Qt::black)}})
        dark.setColor(role, colour);
    QPalette highContrast(Qt::white, Qt::black, Qt::white, Qt::black, Qt::gray, Qt::white,
                          Qt::white, Qt::black, Qt::black);
    const QPalette light = QApplication::style()->standardPalette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    QCOMPARE(qRound(contrastRatio(QColor(0x76, 0x76, 0x76), Qt::white) * 100), 454);
    QStringList faint;

    for (const auto& [theme, palette] :
         {std::pair{"light", light}, {"dark", dark}, {"high contrast", highContrast}}) {
        QApplication::setPalette(palette);
        m_window.reset();
        openWindow();
        child<QLineEdit>("tFind")->setText("find");
        child<QLineEdit>("tText")->setText("text");
        const auto check = [&](QWidget& window) {
            const QImage look = window.grab().toImage();
            for (const auto& [name, area] : textAreas(window))
                if (const double contrast = textContrast(look, area); contrast < kReadableContrast)
                    faint << QString("%1: %2 %3:1").arg(theme, name).arg(contrast, 0, 'f', 2);
        };
        check(*m_window);
        // The message and About windows, over the main window.
        for (const std::function<void()>& open : std::initializer_list<std::function<void()>>{
                 [&] { QTest::keyClick(child<QWidget>("Dir1"), Qt::Key_F1); },
                 [&] {
                     QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
                     QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
                 }}) {
            QTimer::singleShot(0, [&] {
                if (OverlayBox* box = OverlayBox::waiting()) {
                    check(*box);
                    box->closeBox();
                }
            });
            ModalCloser closer;
            open();
        }
    }
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
}

// The window opens at its laid-out size and grows from it, never smaller: the
// grid and the folder list take the room, what sits beside or under the grid
// moves with it, and the name columns widen until a folder of 100,000 files
// shows every column whole.
void MainWindowTest::windowGrowsFromItsLaidOutSizeAndTheGridTakesTheRoom() {
    openWindow();
    const QSize laidOut(689, 425);
    QCOMPARE(m_window->size(), laidOut);
    auto* grid = child<QTableView>("MSFlexGrid1");
    QHeaderView* header = grid->horizontalHeader();
    QList<int> laidOutColumns;
    for (int column = 0; column < header->count(); ++column)
        laidOutColumns << header->sectionSize(column);

    // Each control moves right, moves down, widens or grows taller with the window.
    struct Follows {
        bool right = false, down = false, wider = false, taller = false;
    };
    std::map<QString, Follows> follows = {
        {"lblTitle", {.wider = true}},   {"Image1", {}},
        {"ImgAbut", {.right = true}},    {"ImgQbut", {.right = true}},
        {"ImgXbut", {.right = true}},    {"Dir1", {.taller = true}},
        {"Picture1(0)", {.down = true}}, {"MSFlexGrid1", {.wider = true, .taller = true}},
        {"Picture1(1)", {true, true}},   {"Picture1(2)", {true, true}},
        {"Picture1(7)", {true, true}},   {"Label4", {.down = true}}};
    for (int frame = 0; frame < 5; ++frame)
        follows[QStringLiteral("Frame1(%1)").arg(frame)] = {.down = true};
    const QList<QWidget*> controls = m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::map<QString, QRect> laidOutPlaces;
    for (const QWidget* control : controls) {
        QVERIFY2(follows.count(control->objectName()) == 1, qPrintable(control->objectName()));
        laidOutPlaces[control->objectName()] = control->geometry();
    }
    const auto overlaps = [&] {
        QStringList pairs;
        for (const QWidget* one : controls)
            for (const QWidget* other : controls)
                if (one < other && one->geometry().intersects(other->geometry()))
                    pairs << one->objectName() + "/" + other->objectName();
        pairs.sort();
        return pairs;
    };
    const QStringList laidOutOverlaps = overlaps();

    test::showManyRows(*grid, 100000);
    for (const QSize size : {laidOut + QSize(1, 1), QSize(900, 640), QSize(1280, 1024), laidOut}) {
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size);
        const QSize grown = size - laidOut;
        for (const QWidget* control : controls) {
            const Follows how = follows[control->objectName()];
            const QRect expected = laidOutPlaces[control->objectName()].adjusted(
                how.right ? grown.width() : 0, how.down ? grown.height() : 0,
                how.right || how.wider ? grown.width() : 0,
                how.down || how.taller ? grown.height() : 0);
            QVERIFY2(control->geometry() == expected, qPrintable(at + " " + control->objectName()));
        }
        QCOMPARE(overlaps(), laidOutOverlaps);
        // The name columns take the room, never less than their laid-out widths,
        // once a wider serial column and the scroll bar have theirs.
        if (size.width() >= 900) {
            QTRY_COMPARE(header->length(), grid->viewport()->width());
            // The scroll area hides its bar on a later turn of the event loop.
            QTRY_VERIFY2(!grid->horizontalScrollBar()->isVisible(), qPrintable(at));
        }
        for (int column = 1; column <= 2; ++column)
            QVERIFY2(header->sectionSize(column) >= laidOutColumns[column], qPrintable(at));
        QVERIFY2(std::abs(header->sectionSize(1) - laidOutColumns[1] - header->sectionSize(2) +
                          laidOutColumns[2]) <= 1,
                 qPrintable(at));
        QCOMPARE(header->sectionSize(3), laidOutColumns[3]);
        if (size == QSize(1280, 1024)) {
            // Ctrl+End leaves the row numbers in sight, and whole.
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
            QCOMPARE(grid->currentIndex().row(), 99999);
            QCOMPARE(grid->columnViewportPosition(0), 0);
            QVERIFY(header->sectionSize(0) > grid->fontMetrics().horizontalAdvance("100000"));
        }
    }
    // Back at the laid-out size, the columns are as they were laid out but for
    // the serial column, which widened for the largest row number.
    for (int column = 1; column < header->count(); ++column)
        QCOMPARE(header->sectionSize(column), laidOutColumns[column]);

    // Never smaller than laid out, however it is resized.
    m_window->resize(400, 300);
    QCOMPARE(m_window->size(), laidOut);
    QWindow* window = m_window->windowHandle();
    const QPoint corner(laidOut.width() - 2, laidOut.height() - 2);
    QTest::mouseMove(window, corner);
    QCOMPARE(m_window->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mousePress(window, Qt::LeftButton, {}, corner);
    QTest::mouseMove(window, corner + QPoint(100, 50));
    QTest::mouseRelease(window, Qt::LeftButton, {}, corner + QPoint(100, 50));
    QTRY_COMPARE(m_window->size(), laidOut + QSize(100, 50));
    // The left edge, pushed past the minimum, leaves the window where it was.
    const QPoint before = m_window->pos();
    QTest::mouseMove(window, QPoint(1, 200));
    QCOMPARE(m_window->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(1, 200));
    QTest::mouseMove(window, QPoint(400, 200));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(400, 200));
    QTRY_COMPARE(m_window->size(), laidOut + QSize(0, 50));
    QCOMPARE(m_window->pos(), before + QPoint(100, 0));
    // The title reaches the edges too; away from them it keeps its own shape.
    auto* title = child<QWidget>("lblTitle");
    QTest::mouseMove(window, QPoint(m_window->width() - 1, 20));
    QCOMPARE(title->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(window, QPoint(300, 20));
    QCOMPARE(title->cursor().shape(), Qt::SizeAllCursor);

    // A double-click on the title maximises the window and gives its size back.
    const QSize normal = m_window->size();
    QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(300, 8));
    QTRY_VERIFY(m_window->isMaximized());
    QTRY_COMPARE(m_window->size(), m_window->screen()->availableGeometry().size());
    // A box open over the window stays in its middle as the window changes
    // (the window system's keys can restore it meanwhile).
    QTimer::singleShot(0, [&] {
        OverlayBox* box = OverlayBox::waiting();
        QVERIFY(box != nullptr);
        m_window->showNormal();
        QTRY_COMPARE(m_window->size(), normal);
        QCOMPARE(box->geometry().center(), m_window->rect().center());
        QCOMPARE(child<QWidget>("overlayShield")->geometry(), m_window->rect());
        box->closeBox();
    });
    QTest::keyClick(child<QWidget>("Dir1"), Qt::Key_F1);
    QVERIFY(!m_window->isMaximized());
    QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(300, 8));
    QTRY_VERIFY(m_window->isMaximized());
    QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(300, 8));
    QTRY_COMPARE(m_window->size(), normal);
}

QTEST_MAIN(MainWindowTest)
// F2, a double-click or a typed key opens the edited name with the part before
// its extension selected; Enter takes it as one edit, Escape drops it.
void MainWindowTest::oneNameTypedByHandIsAnEditLikeAnyOther() {
    createFiles(m_folder->path(), {"alpha.txt", "beta.txt", "gamma.log"});
    openWindow();
    QApplication::setActiveWindow(m_window.get());
    auto* grid = child<QTableView>("MSFlexGrid1");
    grid->setFocus();
    const auto editor = [grid]() -> QLineEdit* {
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return focused != nullptr && grid->isAncestorOf(focused) ? focused : nullptr;
    };

    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY2(editor() == nullptr, "only the edited name is typed");
    grid->setCurrentIndex(grid->model()->index(0, 2));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(editor() != nullptr);
    QCOMPARE(editor()->text(), QString("alpha.txt"));
    QTRY_COMPARE(editor()->selectedText(), QString("alpha"));
    QTest::keyClicks(editor(), "first");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTRY_COMPARE(cell(0, 2), QString("first.txt"));

    const QRect second = grid->visualRect(grid->model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(editor() != nullptr);
    QTest::keyClicks(editor(), "lost");
    QTest::keyClick(editor(), Qt::Key_Escape);
    QTRY_VERIFY(editor() == nullptr);
    QCOMPARE(cell(1, 2), QString("beta.txt"));

    grid->setCurrentIndex(grid->model()->index(2, 2));
    QTest::keyClicks(grid, "g");
    QVERIFY(editor() != nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    QTRY_COMPARE(cell(2, 2), QString("g.log"));

    // The extension stays: a name without it is not taken, and the grid says why.
    grid->setCurrentIndex(grid->model()->index(1, 2));
    QTest::keyClick(grid, Qt::Key_F2);
    QTRY_COMPARE(editor()->selectedText(), QString("beta"));
    editor()->selectAll();
    QTest::keyClicks(editor(), "bare");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTRY_VERIFY(grid->accessibleDescription().contains("must end in .txt"));
    QCOMPARE(cell(1, 2), QString("beta.txt"));

    // Each typed name is a step of the history; later operations apply to it.
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(cell(2, 2), QString("gamma.log"));
    QCOMPARE(cell(0, 2), QString("first.txt"));
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(cell(2, 2), QString("g.log"));
    QTest::keyClicks(child<QLineEdit>("tText"), "p_");
    QTest::mouseClick(child<QRadioButton>("oLeftText"), Qt::LeftButton);
    clickApply(2);
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList());
    QCOMPARE(filesOnDisk(m_folder->path()), QStringList({"p_beta.txt", "p_first.txt", "p_g.log"}));
}

// Ordered by size from the grid's menu, Serial numbers the files by size; the
// order is a step of the history, and a click on the names' header orders by name.
void MainWindowTest::serialNumbersTheRowsInTheOrderShown() {
    for (const auto& [name, size] :
         {std::pair{"a.jpg", 300}, {"b.jpg", 100}, {"c.jpg", 400}, {"d.jpg", 200}}) {
        QFile file(m_folder->path() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    openWindow();
    QApplication::setActiveWindow(m_window.get());
    auto* grid = child<QTableView>("MSFlexGrid1");
    QHeaderView* header = grid->horizontalHeader();
    const auto column = [&](int index) {
        QStringList texts;
        for (int row = 0; row < rows(); ++row)
            texts << cell(row, index);
        return texts;
    };
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* size = menu == nullptr ? nullptr : menu->findChild<QAction*>("mnuOrderSize");
        if (menu != nullptr)
            menu->close();
        if (size != nullptr)
            size->trigger();
    });
    emit grid->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(column(1), QStringList({"b.jpg", "d.jpg", "a.jpg", "c.jpg"}));
    QCOMPARE(grid->currentIndex().row(), 2);
    QVERIFY(header->isSortIndicatorShown());

    QTest::mouseClick(child<QRadioButton>("oLeftSerialize"), Qt::LeftButton);
    clickApply(3);
    QCOMPARE(column(0), QStringList({"1", "2", "3", "4"}));
    QCOMPARE(column(2), QStringList({"1b.jpg", "2d.jpg", "3a.jpg", "4c.jpg"}));

    // Ctrl+Z takes Serial back, then the order; Ctrl+Y makes both again.
    QApplication::setActiveWindow(m_window.get());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(column(1), QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    QCOMPARE(column(2), column(1));
    QVERIFY(!header->isSortIndicatorShown());
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(column(2), QStringList({"1b.jpg", "2d.jpg", "3a.jpg", "4c.jpg"}));
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList());
    QCOMPARE(filesOnDisk(m_folder->path()), QStringList({"1b.jpg", "2d.jpg", "3a.jpg", "4c.jpg"}));

    // The header orders by name, then the other way round.
    const QPoint names(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, names);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, names);
    QCOMPARE(column(1), QStringList({"4c.jpg", "3a.jpg", "2d.jpg", "1b.jpg"}));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

#include "main_window_test.moc"

// Delete leaves the selected rows out of the rename: drawn dimmed, said to a
// screen reader, passed over by the edits and by Rename; the grid's menu puts
// them back, and Ctrl+Z and Ctrl+Y take each step back and make it again.
void MainWindowTest::rowsLeftOutKeepTheirNamesThroughEditsAndRename() {
    createFiles(m_folder->path(), {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    openWindow();
    QApplication::setActiveWindow(m_window.get());
    auto* grid = child<QTableView>("MSFlexGrid1");
    grid->setFocus();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    const auto said = [table](int row, int column) {
        return table->tableInterface()->cellAt(row, column)->text(QAccessible::Description);
    };
    const auto leftOut = [&](int row) { return said(row, 2).contains("Left out"); };
    grid->setCurrentIndex(grid->model()->index(1, 2));
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Delete);
    for (int row = 0; row < 5; ++row)
        QCOMPARE(leftOut(row), row >= 1 && row <= 3);
    QVERIFY(said(2, 0).contains("Left out"));

    // The grid's menu offers what each would change and names the next undo.
    QStringList offered;
    const auto choose = [&](const char* name) {
        QTimer::singleShot(0, [&offered, name] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (const char* item : {"mnuUndo", "mnuLeaveOut", "mnuPutBack"}) {
                const QAction* action = menu->findChild<QAction*>(item);
                offered << action->text() + (action->isEnabled() ? "" : " (greyed)");
            }
            QAction* chosen = menu->findChild<QAction*>(name);
            menu->close();
            chosen->trigger();
        });
        emit grid->customContextMenuRequested(QPoint(5, 5));
        QTRY_COMPARE(offered.size(), 3);
        // The window system gives the window back its keys once the menu is gone.
        QApplication::setActiveWindow(m_window.get());
        grid->setFocus();
    };
    choose("mnuPutBack");
    QCOMPARE(offered, QStringList({"Undo Leave Out", "Leave out (greyed)", "Put back"}));
    QVERIFY(!leftOut(2));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(leftOut(2));
    offered.clear();
    choose("mnuUndo");
    QCOMPARE(offered.first(), QString("Undo Leave Out"));
    for (int row = 0; row < 5; ++row)
        QVERIFY(!leftOut(row));
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(leftOut(1) && leftOut(3));

    // Drawn dimmed: the darkest text of a row left out is lighter than another's.
    grid->setCurrentIndex(grid->model()->index(4, 2));
    const QImage drawn = grid->viewport()->grab().toImage();
    const auto darkest = [&](int row) {
        const QRect area = grid->visualRect(grid->model()->index(row, 1));
        int least = 255;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                least = std::min(least, QColor(drawn.pixel(x, y)).lightness());
        return least;
    };
    QVERIFY2(darkest(2) > darkest(0) + 60, qPrintable(QString::number(darkest(2))));
    grid->setCurrentIndex(grid->model()->index(2, 2));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY2(!qobject_cast<QLineEdit*>(QApplication::focusWidget()), "no name typed on it");

    QTest::keyClicks(child<QLineEdit>("tText"), "p_");
    QTest::mouseClick(child<QRadioButton>("oLeftText"), Qt::LeftButton);
    clickApply(2);
    QCOMPARE(cell(0, 2), QString("p_a.txt"));
    QCOMPARE(cell(2, 2), QString("c.txt"));
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList());
    QCOMPARE(filesOnDisk(m_folder->path()),
             QStringList({"b.txt", "c.txt", "d.txt", "p_a.txt", "p_e.txt"}));
    for (int row = 0; row < 5; ++row)
        QCOMPARE(cell(row, 3), cell(row, 1).startsWith("p_") ? QString("Done") : QString());
}
