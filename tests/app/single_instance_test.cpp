#include "records_folder.h"
#include "second_instance_notice.h"
#include "single_instance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using velmorandi::SingleInstance;

namespace {

const char kHolderVariable[] = "VELMORANDI_TEST_LOCK_HOLDER";

// Started as a child of the test: takes the lock, says so and waits to be killed.
[[noreturn]] void holdTheLockUntilKilled() {
    SingleInstance instance;
    std::puts(instance.acquire() ? "held" : "refused");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void secondStartMeetsTheLockWhateverItsRuntimeFolder();
    void liveHolderRefusesHoweverOldItsLockDeadHolderDoesNot();
    void lockNeverLandsOutsideAPrivateFolderOfTheUsersOwn();
    void secondInstanceNoticeIsThePlainStandardBox();

  private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_state;
};

void SingleInstanceTest::initTestCase() {
    if (qEnvironmentVariableIsSet(kHolderVariable))
        holdTheLockUntilKilled();
    // Never meet the lock of an instance the user is running.
    QVERIFY(m_runtime.isValid() && m_state.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    velmorandi::test::keepRecordsUnder(m_state.path());
}

// su, ssh or cron start with another runtime folder, or none: the lock lies
// with the records, where every start of the user finds it.
void SingleInstanceTest::secondStartMeetsTheLockWhateverItsRuntimeFolder() {
    QTemporaryDir otherRuntime;
    {
        SingleInstance first;
        QCOMPARE(QFileInfo(first.lockPath()).absolutePath(),
                 velmorandi::test::recordsFolderUnder(m_state.path()));
        QVERIFY(first.acquire());
        QVERIFY(first.holdsLock());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(otherRuntime.path()));
        SingleInstance second;
        QCOMPARE(second.lockPath(), first.lockPath());
        QVERIFY(!second.acquire());
        qunsetenv("XDG_RUNTIME_DIR");
        SingleInstance third;
        QVERIFY(!third.acquire());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }
    SingleInstance afterTheFirstEnded;
    QVERIFY(afterTheFirstEnded.acquire());
}

void SingleInstanceTest::liveHolderRefusesHoweverOldItsLockDeadHolderDoesNot() {
    QProcess holder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kHolderVariable), QStringLiteral("1"));
    holder.setProcessEnvironment(environment);
    holder.start(QCoreApplication::applicationFilePath(), {});
    QByteArray said;
    while (!said.contains("held") && !said.contains("refused") && holder.waitForReadyRead(10000))
        said += holder.readAllStandardOutput();
    QVERIFY2(said.contains("held"), said.constData());

    SingleInstance instance;
    QVERIFY(!instance.acquire());

    // A program runs for hours: the age of its lock must not free it. (On Windows the
    // holder's handle shares no writes: nobody can age the lock.)
#ifndef Q_OS_WIN
    QFile lockFile(instance.lockPath());
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                 QFileDevice::FileModificationTime));
    lockFile.close();
    QVERIFY(!instance.acquire());
#endif

    // A crash leaves the lock file behind; it must not block the next start.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    QVERIFY(QFile::exists(instance.lockPath()));
    QVERIFY(instance.acquire());
}

void SingleInstanceTest::lockNeverLandsOutsideAPrivateFolderOfTheUsersOwn() {
#ifndef Q_OS_UNIX
    QSKIP("Folder owners, modes and links as another local user can arrange them on Unix");
#endif
    QTemporaryDir temporary, current, shared, openState;
    QVERIFY(temporary.isValid() && current.isValid() && shared.isValid() && openState.isValid());
    // A folder of records that other users may write to holds no lock either.
    QVERIFY(QDir(openState.path()).mkdir(QStringLiteral("velmorandi")));
    QVERIFY(QFile::setPermissions(openState.filePath(QStringLiteral("velmorandi")),
                                  QFileDevice::Permissions(0x7777)));
    qputenv("XDG_STATE_HOME", QFile::encodeName(openState.path()));
    const QString previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qunsetenv("TMPDIR");
        QDir::setCurrent(previousFolder);
    });
    const QFileDevice::Permissions ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions ownerBits =
        ownerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

    // What a default runtime folder taken first by someone else looks like: not a folder of ours.
    QFile squatter(temporary.filePath(QStringLiteral("probe")));
    QVERIFY(squatter.open(QIODevice::WriteOnly));
    squatter.close();
    const QString user = QFileInfo(squatter).owner();
    QVERIFY(squatter.rename(temporary.filePath(QStringLiteral("runtime-") + user)));
    // A runtime folder that others may enter does not count either.
    QVERIFY(QFile::setPermissions(shared.path(),
                                  ownerBits | QFileDevice::ReadOther | QFileDevice::ExeOther));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(shared.path()));

    const QString ownFolder =
        temporary.filePath(QStringLiteral("velmorandi-%1").arg(QFileInfo(squatter).ownerId()));
    {
        SingleInstance first;
        QCOMPARE(QFileInfo(first.lockPath()).absolutePath(), ownFolder);
        QCOMPARE(QFileInfo(ownFolder).permissions() & ~ownerBits, QFileDevice::Permissions());
        QVERIFY(first.acquire());
        SingleInstance second;
        QVERIFY(!second.acquire());
    }

    // That folder's name taken first by a file or by a link to a folder of ours: no lock at all.
    QVERIFY(QDir(ownFolder).removeRecursively());
    const QString linkedTo = temporary.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkdir(linkedTo));
    QVERIFY(QFile::setPermissions(linkedTo, ownerBits));
    for (bool asLink : {true, false}) {
        QFile::remove(ownFolder);
        if (asLink) {
            QVERIFY(QFile::link(linkedTo, ownFolder));
        } else {
            QFile file(ownFolder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        SingleInstance instance;
        QCOMPARE(instance.lockPath(), QString());
        QVERIFY(instance.acquire());
        QVERIFY(QDir(linkedTo).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
    QVERIFY(QDir(current.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(QDir(shared.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void SingleInstanceTest::secondInstanceNoticeIsThePlainStandardBox() {
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    int buttonCount = 0;
    int captionInk = 0;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        seen = box->isVisible();
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        buttonCount = box->buttons().size();
        // Borderless, it draws its caption above the text, inside its frame.
        const QImage look = box->grab().toImage();
        const int textTop = box->findChild<QLabel*>("qt_msgbox_label")->mapTo(box, QPoint()).y();
        const QRgb ground = look.pixel(look.width() / 2, textTop - 2);
        for (int y = 1; y < textTop - 2; ++y)
            for (int x = 1; x < look.width() / 2; ++x)
                captionInk += look.pixel(x, y) != ground ? 1 : 0;
        box->button(QMessageBox::Ok)->click();
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(0);
    });
    watchdog.start(3000);
    velmorandi::showSecondInstanceNotice();

    QVERIFY(seen);
    QCOMPARE(text, QStringLiteral("\r\nAn instance of this application is already running.\r\n"
                                  "A second instance is not supported"));
    QCOMPARE(caption, QStringLiteral("Velmorandi"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(buttonCount, 1);
    QVERIFY2(captionInk > 20, qPrintable(QString::number(captionInk)));
}

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
