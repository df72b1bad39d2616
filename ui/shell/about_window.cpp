#include "shell/about_window.h"

#include "shell/app_icon.h"
#include "shell/close_keys.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"
#include "version.h"
#include "words/about_words.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>

namespace velmorandi {

namespace {

// The layout is kept in twips, as designed; 15 twips make one pixel at 96 dots per inch.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}

const QColor kDarkGrey(0x40, 0x40, 0x40);
const QColor kMidGrey(0x80, 0x80, 0x80);
const QColor kLightGrey(0xC0, 0xC0, 0xC0);

const QRect kBottomBand(0, px(4680), px(10335), px(1695));

QLabel* addLabel(QWidget* parent, const char* name, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

const QString frmHelpAbout::webAddress = QStringLiteral("www.ombrix.example");

frmHelpAbout::frmHelpAbout(QWidget* mainWindow, const QString& mainTitle)
    : OverlayBox(mainWindow, QSize(px(10335), px(6375)), QAccessible::Dialog) {
    setObjectName(QStringLiteral("frmHelpAbout"));
    setAccessibleName(tr("About Velmorandi"));
    setFont(defaultFace());
    setMouseTracking(true);
    createControls();
    Form_Load(mainTitle);
}

void frmHelpAbout::createControls() {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(px(360), px(380), px(1200), px(1200));
    const qreal ratio = devicePixelRatioF();
    QPixmap picture = programPicture(qRound(image->width() * ratio));
    picture.setDevicePixelRatio(ratio);
    image->setPixmap(picture);

    m_lblProductName = addLabel(this, "lblProductName", kDarkGrey);
    m_lblProductName->move(px(2400), px(720));
    m_lblAbout = addLabel(this, "lblAbout", kDarkGrey);
    m_lblAbout->move(px(2400), px(1320));
    m_lblAuthor = addLabel(this, "lblAuthor", kDarkGrey);
    m_lblAuthor->move(px(2400), px(2280));

    m_txtUrl = new QLineEdit(this);
    m_txtUrl->setObjectName(QStringLiteral("txtUrl"));
    m_txtUrl->setAccessibleName(tr("Web address"));
    m_txtUrl->setGeometry(px(2400), px(3240), px(2535), px(195));
    m_txtUrl->setFrame(false);
    m_txtUrl->setTextMargins(0, 0, 0, 0);
    QPalette urlPalette = m_txtUrl->palette();
    urlPalette.setColor(QPalette::Base, Qt::white);
    urlPalette.setColor(QPalette::Text, kDarkGrey);
    m_txtUrl->setPalette(urlPalette);
    m_txtUrl->installEventFilter(this);
    connect(m_txtUrl, &QLineEdit::textChanged, this, &frmHelpAbout::txtUrl_Change);

    m_lblDesc = addLabel(this, "lblDesc", kLightGrey);
    m_lblDesc->setGeometry(px(240), px(4875), px(9825), px(1275));
    m_lblDesc->setWordWrap(true);
    m_lblDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_imgXbut = new PictureButton(PictureButton::Glyph::Close, this);
    m_imgXbut->setObjectName(QStringLiteral("ImgXbut"));
    m_imgXbut->setGeometry(px(9795), px(165), px(285), px(285));
    m_imgXbut->setAccessibleName(tr("Close"));
    m_imgXbut->setAccessibleDescription(tr("Closes the About window (Escape or Enter)"));
    connect(m_imgXbut, &PictureButton::clicked, this, &frmHelpAbout::ImgXbut_Click);
}

void frmHelpAbout::Form_Load(const QString& mainTitle) {
    m_lblProductName->setText(mainTitle.trimmed());
    m_lblProductName->adjustSize();
    m_lblAbout->setText(words::aboutText());
    m_lblAbout->adjustSize();
    m_lblAuthor->setText(words::authorText());
    m_lblAuthor->adjustSize();
    m_txtUrl->setText(webAddress);
    m_txtUrl->setCursorPosition(0);
    // Same size as the main window, so this lands exactly on top of it.
    placeOverMainWindow();
    m_lblDesc->setText(words::descriptionText(QString::fromStdString(GetVersion())));
}

QWidget* frmHelpAbout::focusTarget() {
    return m_txtUrl;
}

bool frmHelpAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtUrl) {
        // Taking the override keeps any application shortcut (F1 included) from firing here.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            Form_KeyPress(*static_cast<QKeyEvent*>(event));
            return true; // the web address box never sees a key
        }
    }
    return OverlayBox::eventFilter(watched, event);
}

void frmHelpAbout::keyPressEvent(QKeyEvent* event) {
    Form_KeyPress(*event);
}

void frmHelpAbout::Form_KeyPress(const QKeyEvent& event) {
    if (isCloseKey(event))
        ImgXbut_Click();
}

void frmHelpAbout::ImgXbut_Click() {
    closeBox();
}

void frmHelpAbout::txtUrl_Change() {
    if (m_restoringUrl || m_txtUrl->text() == webAddress)
        return;
    const QScopedValueRollback<bool> guard(m_restoringUrl, true);
    m_txtUrl->setText(webAddress);
}

void frmHelpAbout::mouseMoveEvent(QMouseEvent*) {
    ResetImageButtons();
}

void frmHelpAbout::ResetImageButtons() {
    m_imgXbut->setState(PictureButton::State::Normal);
}

void frmHelpAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);

    // Shape2: the dark band at the bottom, outlined in black.
    painter.fillRect(kBottomBand, kDarkGrey);
    painter.setPen(Qt::black);
    painter.drawRect(kBottomBand.adjusted(0, 0, -1, -1));

    // Shape1: a one-pixel frame around the window.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // Line1 under the product name; a line leaves out its end point.
    painter.setPen(kMidGrey);
    painter.drawLine(px(1920), px(960), px(10000) - 1, px(960));

    // Line2: a 10-pixel pen centred on the top edge, so half of it shows.
    QPen bar(kDarkGrey, 10);
    bar.setCapStyle(Qt::FlatCap);
    painter.setPen(bar);
    painter.drawLine(0, 0, width(), 0);
}

void ShowAbout(QWidget* mainWindow, const QString& mainTitle) {
    // A key handler that sees F1 while the window is open must not stack a second one.
    static bool showing = false;
    if (showing)
        return;
    const QScopedValueRollback<bool> guard(showing, true);
    // Owned by the main window as well: whichever goes first takes it along.
    const QPointer<frmHelpAbout> about = new frmHelpAbout(mainWindow, mainTitle);
    about->runModal();
    delete about;
}

} // namespace velmorandi
