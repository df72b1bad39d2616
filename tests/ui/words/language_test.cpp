#include "main/main_window.h"
#include "main/window_test_support.h"
#include "shell/picture_button.h"
#include "words/language.h"
#include "words/progress_words.h"
#include "words/system_error_words.h"

#include <QKeySequence>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace velmorandi;
using test::control;
using test::ModalCloser;

namespace {

struct Shown {
    QString rename, header, warning;
};

// The window on a folder that holds a start-up file, and what it shows: a
// caption, a column's caption and the warning behind its button.
void showWindow(Shown& shown) {
    QTemporaryDir folder;
    test::createFiles(folder.path(), {"config.sys"});
    frmMainWindow window(nullptr, folder.path().toStdString());
    window.show();
    ModalCloser closer;
    QTest::mouseClick(control<PictureButton>(window, "ImgAbut"), Qt::LeftButton);
    QCOMPARE(closer.seen().size(), 1);
    shown = {control<QPushButton>(window, "CmdRename")->text(),
             control<QTableView>(window, "MSFlexGrid1")
                 ->model()
                 ->headerData(1, Qt::Horizontal)
                 .toString(),
             closer.seen().first()};
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
  private slots:
    void germanWindowMessagesAndQtTexts();
    void cLocaleShowsTheOriginalTexts();
};

void LanguageTest::germanWindowMessagesAndQtTexts() {
    const Language german(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(german.name(), QString("de"));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });

    Shown shown;
    showWindow(shown);
    QCOMPARE(shown.rename, QString("Umbenennen"));
    QCOMPARE(shown.header, QString("Bisheriger Dateiname"));
    QVERIFY2(shown.warning.startsWith("Es ist nicht ratsam, einige der aufgeführten Dateien "
                                      "umzubenennen.\n\n"),
             qPrintable(shown.warning));
    // Qt's own texts (menus, keys) in the same language, counts as German writes them.
    QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_Z).toString(QKeySequence::NativeText),
             QString("Strg+Z"));
    QCOMPARE(words::restoring(3829, 4073), QString("Zurückbenennen: 3.829 von 4.073 Namen"));

    // A common system error in German; any other keeps its message in English.
    const words::ErrorWording common(SystemError{2, "No such file or directory"});
    QVERIFY(!common.inEnglish());
    QCOMPARE(common.error(), QString("Datei oder Ordner nicht gefunden"));
    const words::ErrorWording rare(SystemError{9999, "Unknown error 9999"});
    QVERIFY(rare.inEnglish());
    QCOMPARE(rare.error(), QString("Unknown error 9999"));
    QCOMPARE(rare.text("Messages", "The folder %1 could not be opened."),
             QString("The folder %1 could not be opened."));
}

void LanguageTest::cLocaleShowsTheOriginalTexts() {
    const Language c(QLocale::c());
    QCOMPARE(c.name(), QString());
    Shown shown;
    showWindow(shown);
    QCOMPARE(shown.rename, QString("Rename"));
    QCOMPARE(shown.header, QString("Original filename"));
    QCOMPARE(shown.warning,
             QString("It is not advisable to rename some of the listed files.\n\nIt may cause "
                     "serious damages to the operating system of this computer. Renaming these "
                     "files may also result undesirable to the execution of the programs that is "
                     "dependent of these files."));
    // In English the system's own text serves.
    QVERIFY(words::ErrorWording(SystemError{2, "No such file or directory"}).inEnglish());
}

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
