// Every caption of the main window whole and clear of its neighbours, in every
// shipped language and at 100, 150 and 200 %, in a face the system draws and
// never a serif one.
#include "main/main_window.h"
#include "main/window_test_support.h"
#include "words/language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace velmorandi;

namespace {

// Room a caption keeps from the edges of its control and from its neighbours.
constexpr int kCaptionGap = 2;

// Where a caption's text lies in the window, and the part of its control it must stay in.
struct Caption {
    QString name;
    const QWidget* owner;
    QRect text;
    QRect room;
};

QRect inWindow(const QWidget& control, const QRect& area) {
    return area.translated(control.mapTo(control.window(), QPoint()));
}

// What shows of a control: its containers and the window cut off its edges.
QRect shownPart(const QWidget& control) {
    QRect shown = inWindow(control, control.rect()) & control.window()->rect();
    for (const QWidget* w = control.parentWidget(); w != nullptr && !w->isWindow();
         w = w->parentWidget())
        shown &= inWindow(*w, w->rect());
    return shown;
}

QString shownText(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// A caption drawn from `left` in the control's own font, centred in `band` top to bottom.
QRect textAt(const QWidget& control, int left, const QString& text, const QRect& band) {
    const QFontMetrics metrics = control.fontMetrics();
    const int height = std::min(metrics.height(), band.height());
    return {left, band.top() + (band.height() - height) / 2,
            metrics.horizontalAdvance(shownText(text)), height};
}

void addLabel(QList<Caption>& captions, const QLabel& label) {
    // The title's leading blanks only move its text along.
    const QString text = label.text();
    const qsizetype blanks = text.size() - QString(text).remove(QRegularExpression("^ +")).size();
    const QRect inside = label.contentsRect();
    const int left = inside.left() + std::max(0, label.indent()) + label.margin() +
                     label.fontMetrics().horizontalAdvance(text.left(blanks));
    captions.append({label.objectName(), &label,
                     inWindow(label, textAt(label, left, text.mid(blanks), inside)),
                     shownPart(label)});
}

// An option button or a check box: its caption beside its circle or box.
void addOption(QList<Caption>& captions, const QAbstractButton& option) {
    QStyleOptionButton style;
    style.initFrom(&option);
    style.text = option.text();
    const QRect contents = option.style()->subElementRect(
        qobject_cast<const QCheckBox*>(&option) != nullptr ? QStyle::SE_CheckBoxContents
                                                           : QStyle::SE_RadioButtonContents,
        &style, &option);
    captions.append({option.objectName(), &option,
                     inWindow(option, textAt(option, contents.left(), option.text(), contents)),
                     shownPart(option)});
}

void addButton(QList<Caption>& captions, const QPushButton& button) {
    const QRect shown = shownPart(button);
    const int width = button.fontMetrics().horizontalAdvance(shownText(button.text()));
    const QRect whole = inWindow(button, button.rect());
    const QRect text(whole.center().x() - width / 2, shown.top(), width, shown.height());
    captions.append({button.objectName(), &button, text, shown});
}

void addFrame(QList<Caption>& captions, const QGroupBox& frame) {
    QStyleOptionGroupBox style;
    style.initFrom(&frame);
    style.text = frame.title();
    style.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    style.textAlignment = frame.alignment();
    const QRect label = frame.style()->subControlRect(QStyle::CC_GroupBox, &style,
                                                      QStyle::SC_GroupBoxLabel, &frame);
    captions.append({frame.objectName(), &frame,
                     inWindow(frame, textAt(frame, label.left(), frame.title(), label)),
                     shownPart(frame)});
}

// A header caption must show whole where the grid opens, its column scrolled to the left.
void addHeader(QList<Caption>& captions, const QHeaderView& header) {
    const QRect visible = inWindow(*header.viewport(), header.viewport()->rect());
    for (int column = 0; column < header.count(); ++column) {
        const QRect section(header.sectionViewportPosition(column), 0, header.sectionSize(column),
                            header.height());
        const QString text = header.model()->headerData(column, Qt::Horizontal).toString();
        // The sections' left padding, as the grid's style sheet sets it.
        const QRect area = textAt(header, section.left() + 2, text, section);
        captions.append({QStringLiteral("header \"%1\"").arg(text), &header,
                         inWindow(*header.viewport(), area),
                         inWindow(*header.viewport(), section) & visible});
    }
}

QList<Caption> captionsOf(const QWidget& window) {
    QList<Caption> captions;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(control);
            label != nullptr && !label->text().isEmpty())
            addLabel(captions, *label);
        else if (qobject_cast<const QRadioButton*>(control) != nullptr ||
                 qobject_cast<const QCheckBox*>(control) != nullptr)
            addOption(captions, *qobject_cast<const QAbstractButton*>(control));
        else if (const auto* button = qobject_cast<const QPushButton*>(control))
            addButton(captions, *button);
        else if (const auto* frame = qobject_cast<const QGroupBox*>(control))
            addFrame(captions, *frame);
        else if (const auto* header = qobject_cast<const QHeaderView*>(control);
                 header != nullptr && header->orientation() == Qt::Horizontal)
            addHeader(captions, *header);
    }
    return captions;
}

bool related(const QWidget* one, const QWidget* other) {
    return one == other || one->isAncestorOf(other) || other->isAncestorOf(one);
}

// Each caption whole inside its control, and clear of every other control and caption:
// a frame's title of what its frame holds too.
QStringList crowdedCaptions(const QWidget& window) {
    QStringList faults;
    const QList<Caption> captions = captionsOf(window);
    for (const Caption& caption : captions) {
        const QRect kept = caption.text.adjusted(-kCaptionGap, 0, kCaptionGap, 0);
        const QRect& text = caption.text;
        if (text.left() < caption.room.left() || text.right() > caption.room.right())
            faults << QStringLiteral("%1 cut (text %2 to %3, room %4 to %5)")
                          .arg(caption.name)
                          .arg(text.left())
                          .arg(text.right())
                          .arg(caption.room.left())
                          .arg(caption.room.right());
        const bool frame = qobject_cast<const QGroupBox*>(caption.owner) != nullptr;
        for (const QWidget* other : window.findChildren<QWidget*>()) {
            if (!other->isVisibleTo(&window) || other->isWindow())
                continue;
            const bool inFrame = frame && caption.owner->isAncestorOf(other);
            if ((related(caption.owner, other) && !inFrame) || !shownPart(*other).intersects(kept))
                continue;
            // A frame's own outline and the grid's inner parts hold no neighbour's place.
            if (qobject_cast<const QGroupBox*>(other) != nullptr || other->objectName().isEmpty())
                continue;
            faults << caption.name + " touches " + other->objectName();
        }
        for (const Caption& other : captions)
            if (&other < &caption && other.text.intersects(kept))
                faults << caption.name + " touches " + other.name;
    }
    return faults;
}

// Serifs: the foot of a small l reaches wider than its stem (a capital I will not
// do: Verdana and Tahoma give theirs bars).
bool drawsSerifs(const QFont& font) {
    QFont big = font;
    big.setPixelSize(64);
    big.setBold(false);
    QImage picture(96, 96, QImage::Format_Grayscale8);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setFont(big);
        painter.setPen(Qt::black);
        painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("l"));
    }
    QList<int> widths;
    for (int y = 0; y < picture.height(); ++y) {
        int ink = 0;
        for (int x = 0; x < picture.width(); ++x)
            ink += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        if (ink > 0)
            widths << ink;
    }
    if (widths.size() < 8)
        return false;
    const int foot = *std::max_element(widths.cend() - 3, widths.cend());
    return foot > widths.at(widths.size() / 2) * 3 / 2;
}

QStringList facesNotDrawnOrSerif(const QWidget& window) {
    QStringList faults;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        // Qt's own inner parts draw no text of their own.
        if (control->objectName().isEmpty() || control->objectName().startsWith("qt_"))
            continue;
        const QFont font = control->font();
        const bool bitmap = !QFontDatabase::isSmoothlyScalable(font.family());
        if (QFontInfo(font).family().compare(font.family(), Qt::CaseInsensitive) != 0)
            faults << QStringLiteral("%1 asks for %2, drawn in %3")
                          .arg(control->objectName(), font.family(), QFontInfo(font).family());
        else if (bitmap && !qFuzzyCompare(qApp->devicePixelRatio(), 1.0))
            faults << QStringLiteral("%1 in the bitmap face %2, scaled")
                          .arg(control->objectName(), font.family());
        else if (!bitmap && drawsSerifs(font))
            faults << QStringLiteral("%1 in the serif face %2")
                          .arg(control->objectName(), font.family());
    }
    faults.removeDuplicates();
    return faults;
}

const char kScaleSet[] = "VELMORANDI_TEST_SCALE_SET";

} // namespace

class CaptionFitTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void captionsFitInEveryLanguage();
    void captionsFitAtOtherScales();
    void facesAreTheSystemsAndNeverSerif();

  private:
    std::unique_ptr<frmMainWindow> openWindow();
    std::unique_ptr<QTemporaryDir> m_folder;
};

void CaptionFitTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    test::createFiles(m_folder->path(), {"a.txt", "b.txt"});
}

std::unique_ptr<frmMainWindow> CaptionFitTest::openWindow() {
    auto window = std::make_unique<frmMainWindow>(nullptr, m_folder->path().toStdString());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    return window;
}

// In every style this Qt has: Windows draws the frames' titles further in than Fusion.
void CaptionFitTest::captionsFitInEveryLanguage() {
    const QString scale = QString::number(qApp->devicePixelRatio() * 100) + " %";
    const QString own = QApplication::style()->name();
    const auto restore = qScopeGuard([&] { QApplication::setStyle(own); });
    QStringList faults;
    for (const QString& style : QStyleFactory::keys()) {
        QApplication::setStyle(style);
        for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany)}) {
            const Language language(locale);
            const std::unique_ptr<frmMainWindow> window = openWindow();
            for (const QString& fault : crowdedCaptions(*window))
                faults
                    << QStringLiteral("%1, %2 at %3: %4").arg(style, locale.name(), scale, fault);
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
}

// The scale is the application's for its life: each other one in a process of its own.
void CaptionFitTest::captionsFitAtOtherScales() {
    if (qEnvironmentVariableIsSet(kScaleSet))
        QSKIP("the scale is set for this process");
    QStringList faults;
    for (const char* factor : {"1.5", "2"}) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_SCALE_FACTOR", factor);
        environment.insert(kScaleSet, "1");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"captionsFitInEveryLanguage", "facesAreTheSystemsAndNeverSerif"});
        QVERIFY(child.waitForFinished(180000));
        const QByteArray output = child.readAll();
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            faults << QString::fromLocal8Bit(output);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
}

// Where the layout's faces are missing the labels take one the system draws, never a
// serif: also where the system's default face is missing and a serif stands in for it.
void CaptionFitTest::facesAreTheSystemsAndNeverSerif() {
    // Wine's bitmap "MS Sans Serif", where it is at hand: the layout's own face, but
    // only at 100 %.
    for (const char* file :
         {"/usr/share/wine/fonts/ms_sans_serif.ttf", "Z:/usr/share/wine/fonts/ms_sans_serif.ttf"})
        if (QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0)
            break;
    const QFont systems = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(systems); });
    QFont missing(QStringLiteral("Velmorandi Missing Face"));
    missing.setStyleHint(QFont::Serif);
    for (const QFont& font : {systems, missing}) {
        QApplication::setFont(font);
        const std::unique_ptr<frmMainWindow> window = openWindow();
        const QStringList faults = facesNotDrawnOrSerif(*window);
        QVERIFY2(faults.isEmpty(), qPrintable(font.family() + ": " + faults.join(", ")));
    }
}

QTEST_MAIN(CaptionFitTest)
#include "caption_fit_test.moc"
