// Where every control of the main window sits and how it looks.
#include "main/main_window.h"

#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/rename_grid_model.h"
#include "main/rename_grid_view.h"
#include "main/title_label.h"
#include "main/twips.h"
#include "shell/app_icon.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTableView>

#include <algorithm>
#include <array>
#include <limits>

namespace velmorandi {

namespace {

QFont verdana(bool bold = false) {
    return layoutFace(QStringLiteral("Verdana"), bold);
}

QLabel* buildLabel(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    // A longer caption or a wider face must not cut the caption short.
    label->setGeometry(place.adjusted(0, 0, qMax(0, label->sizeHint().width() - place.width()), 0));
    return label;
}

// What a screen reader says for a control that shows only a picture.
struct Spoken {
    QString name;
    QString description;
};

void speak(QWidget* control, const Spoken& spoken) {
    control->setAccessibleName(spoken.name);
    control->setAccessibleDescription(spoken.description);
}

PictureButton* buildPictureButton(QWidget* parent, PictureButton::Glyph glyph, const QString& name,
                                  const QRect& place, const Spoken& spoken, bool hasStates = true) {
    auto* button = new PictureButton(glyph, parent, hasStates);
    button->setObjectName(name);
    // Tab reaches it; a click leaves the focus where it was, in a text box say.
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(place);
    speak(button, spoken);
    return button;
}

// Command buttons, left to right, each on its face: a caption longer than its
// button (in another language) widens the button leftwards and moves the
// buttons before it along; captions that fit keep the design.
void fitCaptions(const std::array<QPushButton*, 3>& buttons) {
    constexpr int kCaptionMargin = 8;
    const QWidget* first = buttons.front()->parentWidget();
    const int gap = buttons[1]->parentWidget()->x() - first->geometry().right() - 1;
    int right = buttons.back()->parentWidget()->geometry().right();
    for (auto button = buttons.rbegin(); button != buttons.rend(); ++button) {
        QWidget* face = (*button)->parentWidget();
        const int caption = (*button)->fontMetrics().horizontalAdvance((*button)->text());
        const int width = std::max(face->width(), caption + kCaptionMargin);
        face->setGeometry(right - width + 1, face->y(), width, face->height());
        (*button)->resize(width, (*button)->height());
        right = face->x() - gap - 1;
    }
}

// Where a frame's title ends, as the frame's style places it.
int titleEnd(const QGroupBox& frame) {
    QStyleOptionGroupBox option;
    option.initFrom(&frame);
    option.text = frame.title();
    option.textAlignment = frame.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = frame.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                      QStyle::SC_GroupBoxLabel, &frame);
    QString shown = frame.title();
    shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return std::max(label.right() + 1, label.left() + frame.fontMetrics().horizontalAdvance(shown));
}

// A title longer than laid out (another language, a wider face, a style that
// sets it further in) pushes its Apply button along, into the button's margin
// first, short of the frame's outline; only beyond that does the frame widen,
// and the frames after it move along.
void clearFrameTitles(const std::array<QGroupBox*, 5>& frames,
                      const std::array<PictureButton*, 5>& applies) {
    constexpr int kTitleGap = 3;
    constexpr int kLeastMargin = 4;
    int shift = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        QGroupBox* frame = frames[i];
        PictureButton* apply = applies[i];
        frame->move(frame->x() + shift, frame->y());
        const int push = titleEnd(*frame) + kTitleGap - apply->x();
        if (push <= 0)
            continue;
        apply->move(apply->x() + push, apply->y());
        const int widen = apply->geometry().right() + 1 + kLeastMargin - frame->width();
        if (widen > 0) {
            frame->resize(frame->width() + widen, frame->height());
            shift += widen;
        }
    }
}

} // namespace

QSize frmMainWindow::laidOutSize() {
    return {px(10335), px(6375)};
}

void frmMainWindow::buildTitleBand() {
    m_lblTitle = new TitleLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setTextFormat(Qt::PlainText);
    m_lblTitle->setFont(layoutFace(QStringLiteral("MS Sans Serif"), true));
    m_lblTitle->setTitle(QStringLiteral("     #"));
    m_lblTitle->setGeometry(twipsRect(0, 210, 10335, 255));

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(twipsRect(240, 165, 285, 285));
    // Drawn at the box's own size so it stays sharp; dark grey on white.
    const qreal ratio = devicePixelRatioF();
    QPixmap picture = programPicture(qRound(19 * ratio), QColor(0x40, 0x40, 0x40));
    picture.setDevicePixelRatio(ratio);
    image1->setPixmap(picture);
    // Whatever the face, the title's text keeps clear of the icon.
    m_lblTitle->setTextStart(image1->geometry().right() + 1 + px(60));

    using Glyph = PictureButton::Glyph;
    m_ImgAbut = buildPictureButton(
        this, Glyph::Warning, QStringLiteral("ImgAbut"), twipsRect(9120, 165, 285, 285),
        {tr("Protected files warning"),
         tr("The folder holds system or start-up files; tells what renaming them risks")},
        false);
    m_ImgAbut->hide();
    m_ImgQbut = buildPictureButton(this, Glyph::Help, QStringLiteral("ImgQbut"),
                                   twipsRect(9450, 165, 285, 285),
                                   {tr("Help"), tr("Shows the About window (F1)")});
    m_ImgXbut =
        buildPictureButton(this, Glyph::Close, QStringLiteral("ImgXbut"),
                           twipsRect(9795, 165, 285, 285), {tr("Close"), tr("Ends the program")});
}

QPushButton* frmMainWindow::buildCommandButton(int pictureIndex, const char* name,
                                               const QString& caption, int left) {
    // The container is shorter than the button, so only its face shows.
    auto* container = new QWidget(this);
    container->setObjectName(QStringLiteral("Picture1(%1)").arg(pictureIndex));
    container->setGeometry(twipsRect(left, 4385, 855, 275));
    auto* button = new QPushButton(caption, container);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(twipsRect(0, -75, 855, 375));
    button->setFont(verdana());
    // Enter on the focused button clicks it, as Space does.
    button->setAutoDefault(true);
    // A light face of its own, so a caption of its own: a theme's light caption would vanish.
    QPalette face = button->palette();
    face.setColor(QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
    face.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(face);
    return button;
}

void frmMainWindow::buildBody() {
    m_Dir1 = new FolderList(this);
    m_Dir1->setObjectName(QStringLiteral("Dir1"));
    m_Dir1->setAccessibleName(tr("Folders"));
    m_Dir1->setGeometry(twipsRect(240, 840, 2535, 3240));
    m_Dir1->setFont(verdana());

    auto* driveBox = new QWidget(this);
    driveBox->setObjectName(QStringLiteral("Picture1(0)"));
    driveBox->setGeometry(twipsRect(240, 4100, 2535, 275));
    m_Drive1 = new DriveList(driveBox);
    m_Drive1->setObjectName(QStringLiteral("Drive1"));
    m_Drive1->setAccessibleName(tr("Drive"));
    m_Drive1->setGeometry(twipsRect(-30, -30, 2580, 315));
    m_Drive1->setFont(verdana());

    m_CmdBlank = buildCommandButton(2, "CmdBlank", tr("Blank"), 7460);
    m_CmdReset = buildCommandButton(7, "CmdReset", tr("Reset"), 8350);
    m_CmdRename = buildCommandButton(1, "CmdRename", tr("Rename"), 9240);
    fitCaptions({m_CmdBlank, m_CmdReset, m_CmdRename});

    QLabel* label4 =
        buildLabel(this, "Label4", tr("Rename options"), twipsRect(240, 4800, 4815, 255));
    label4->setFont(verdana(true));
}

void frmMainWindow::buildGrid() {
    m_gridModel = new RenameGridModel(m_session.list(), &m_session.marks(), this);
    m_MSFlexGrid1 = new RenameGridView(this);
    m_MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_MSFlexGrid1->setGeometry(twipsRect(2880, 840, 7215, 3530));
    m_MSFlexGrid1->setFont(verdana());
    m_MSFlexGrid1->setModel(m_gridModel);
    speak(m_MSFlexGrid1, {tr("Rename grid"), tr("One row per file of the folder: serial number, "
                                                "original filename, edited filename and status")});
    // Only an edited name can be typed (the model says which cells).
    m_MSFlexGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::AnyKeyPressed);
    m_MSFlexGrid1->setWordWrap(false);
    m_MSFlexGrid1->setCornerButtonEnabled(false);
    // Tab goes on to the next control; the arrow keys move between cells.
    m_MSFlexGrid1->setTabKeyNavigation(false);
    // Grid lines a shade off the cells' ground (#E0E0E0 on white); the header a fixed
    // grey dark enough for its white captions to read.
    const QColor gridLines = towardGround(palette(), 1.0 - 31.0 / 255.0);
    m_MSFlexGrid1->setStyleSheet(
        QStringLiteral(
            "QTableView { gridline-color: %1; }"
            // Beyond the last column the header shows the grid's own ground.
            "QHeaderView { background-color: palette(base); }"
            "QHeaderView::section { background-color: #767676; color: white; border: none;"
            " border-right: 1px solid %1; border-bottom: 1px solid %1; padding-left: 2px; }")
            .arg(gridLines.name()));

    // Fixed row heights keep a folder of a hundred thousand files as quick as a small one.
    QHeaderView* rows = m_MSFlexGrid1->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(px(240));
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = m_MSFlexGrid1->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    // Dragging an edge resizes a column, a double-click fits it to its longest name.
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setFixedHeight(px(240));
    // Each column as wide as its caption with the blanks behind it.
    const QStringList designCaptions = {
        QStringLiteral("S#    "), QStringLiteral("Original filename                  "),
        QStringLiteral("Edited filename                      "), QStringLiteral("Status     ")};
    const QFontMetrics metrics(verdana(true));
    for (int column = 0; column < designCaptions.size(); ++column)
        header->resizeSection(column, metrics.horizontalAdvance(designCaptions[column]) + 4);
}

QGroupBox* frmMainWindow::buildFrame(int index, const QString& caption, int left, int width) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QStringLiteral("Frame1(%1)").arg(index));
    frame->setGeometry(twipsRect(left, 5160, width, 975));
    frame->setMouseTracking(true);
    frame->installEventFilter(this);
    keepOutlinesVisible(*frame);
    return frame;
}

QRadioButton* frmMainWindow::buildOption(QGroupBox* frame, QButtonGroup* group, const char* name,
                                         const QString& caption, const QRect& place) {
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(QLatin1String(name));
    // Nor a longer caption, a wider face or a wider circle.
    option->setGeometry(
        place.adjusted(0, 0, qMax(0, option->sizeHint().width() - place.width()), 0));
    // Three frames hold a "Left": a screen reader names the frame too ("Add String: Left").
    QString frameName = frame->title();
    frameName.replace(QStringLiteral("&&"), QStringLiteral("&"));
    option->setAccessibleName(tr("%1: %2").arg(frameName, caption));
    group->addButton(option);
    return option;
}

QLineEdit* frmMainWindow::buildTextBox(QGroupBox* frame, const char* name, const QRect& place) {
    auto* box = new QLineEdit(frame);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setFrame(false);
    box->setFont(verdana());
    box->setMaxLength(std::numeric_limits<int>::max());
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, QColor(0xEB, 0xEB, 0xEB));
    colours.setColor(QPalette::Text, Qt::black);
    box->setPalette(colours);
    return box;
}

void frmMainWindow::buildFrames() {
    QGroupBox* find = buildFrame(0, tr("Find && Replace"), 240, 2295);
    QLabel* label1 = buildLabel(find, "Label1", tr("Find"), twipsRect(120, 360, 300, 195));
    m_tFind = buildTextBox(find, "tFind", twipsRect(960, 360, 1095, 195));
    QLabel* label2 = buildLabel(find, "Label2", tr("Replace"), twipsRect(120, 600, 600, 195));
    m_tReplace = buildTextBox(find, "tReplace", twipsRect(960, 600, 1095, 195));
    // A screen reader names each box by its label, not by the frame.
    label1->setBuddy(m_tFind);
    label2->setBuddy(m_tReplace);

    QGroupBox* changeCase = buildFrame(1, tr("Change Case"), 2640, 2415);
    auto* cases = new QButtonGroup(changeCase);
    m_oUpper = buildOption(changeCase, cases, "oUpper", tr("Upper"), twipsRect(120, 360, 855, 255));
    m_oLower = buildOption(changeCase, cases, "oLower", tr("Lower"), twipsRect(120, 600, 855, 255));
    m_oTitle =
        buildOption(changeCase, cases, "oTitle", tr("Title"), twipsRect(1080, 360, 855, 255));
    m_oSentence = buildOption(changeCase, cases, "oSentence", tr("Sentence"),
                              twipsRect(1080, 600, 1095, 255));

    QGroupBox* addString = buildFrame(2, tr("Add String"), 5160, 2295);
    auto* textSides = new QButtonGroup(addString);
    m_oLeftText =
        buildOption(addString, textSides, "oLeftText", tr("Left"), twipsRect(120, 360, 855, 255));
    m_oRightText =
        buildOption(addString, textSides, "oRightText", tr("Right"), twipsRect(120, 600, 855, 255));
    QLabel* label3 = buildLabel(addString, "Label3", tr("String"), twipsRect(1080, 360, 405, 195));
    m_tText = buildTextBox(addString, "tText", twipsRect(1080, 600, 975, 195));
    label3->setBuddy(m_tText);

    QGroupBox* serial = buildFrame(3, tr("Serial"), 7560, 1215);
    auto* serialSides = new QButtonGroup(serial);
    m_oLeftSerialize = buildOption(serial, serialSides, "oLeftSerialize", tr("Left"),
                                   twipsRect(120, 360, 855, 255));
    m_oRightSerialize = buildOption(serial, serialSides, "oRightSerialize", tr("Right"),
                                    twipsRect(120, 600, 855, 255));

    QGroupBox* trim = buildFrame(4, tr("Trim"), 8880, 1215);
    auto* trimSides = new QButtonGroup(trim);
    m_oLeftTrim =
        buildOption(trim, trimSides, "oLeftTrim", tr("Left"), twipsRect(120, 360, 975, 255));
    m_oRightTrim =
        buildOption(trim, trimSides, "oRightTrim", tr("Right"), twipsRect(120, 600, 975, 255));

    m_Frame1 = {find, changeCase, addString, serial, trim};
    // Each Apply button sits on its frame's top edge, at the end of the caption line.
    const std::array applyLefts = {1920, 2040, 1920, 840, 840};
    const std::array<Spoken, 5> applies = {
        Spoken{tr("Apply Find & Replace"),
               tr("Replaces the find text with the replacement in every edited name")},
        Spoken{tr("Apply Change Case"), tr("Changes every edited name to the chosen case")},
        Spoken{tr("Apply Add String"),
               tr("Adds the string on the chosen side of every edited name")},
        Spoken{tr("Apply Serial"), tr("Numbers the edited names on the chosen side")},
        Spoken{tr("Apply Trim"), tr("Removes the spaces on the chosen side of every edited name")}};
    for (int i = 0; i < 5; ++i)
        m_ImgApply[i] = buildPictureButton(m_Frame1[i], PictureButton::Glyph::Apply,
                                           QStringLiteral("ImgApply(%1)").arg(i),
                                           twipsRect(applyLefts[i], 0, 285, 285), applies[i]);
    clearFrameTitles(m_Frame1, m_ImgApply);
}

// The grid and the folder list take the room a grown window has; what sits
// beside or under the grid moves with it.
void frmMainWindow::anchorControls() {
    using Follow = EdgeAnchors::Follow;
    m_anchors.add(m_lblTitle, Follow::GrowsRight);
    for (QWidget* button : {m_ImgAbut, m_ImgQbut, m_ImgXbut})
        m_anchors.add(button, Follow::MovesRight);
    m_anchors.add(m_Dir1, Follow::GrowsDown);
    m_anchors.add(m_Drive1->parentWidget(), Follow::MovesDown);
    m_anchors.add(m_MSFlexGrid1, Follow::GrowsRight | Follow::GrowsDown);
    for (QPushButton* button : {m_CmdBlank, m_CmdReset, m_CmdRename})
        m_anchors.add(button->parentWidget(), Follow::MovesRight | Follow::MovesDown);
    m_anchors.add(findChild<QLabel*>(QStringLiteral("Label4")), Follow::MovesDown);
    for (QGroupBox* frame : m_Frame1)
        m_anchors.add(frame, Follow::MovesDown);
}

// The picture buttons in reading order: the title band's before the folder
// list, each Apply button after what its frame holds.
void frmMainWindow::setTabOrder() {
    const std::array<QWidget*, 27> order = {
        m_ImgAbut,     m_ImgQbut,        m_ImgXbut,         m_Dir1,
        m_Drive1,      m_tFind,          m_tReplace,        m_ImgApply[0],
        m_oUpper,      m_oLower,         m_oTitle,          m_oSentence,
        m_ImgApply[1], m_oLeftText,      m_oRightText,      m_tText,
        m_ImgApply[2], m_oLeftSerialize, m_oRightSerialize, m_ImgApply[3],
        m_oLeftTrim,   m_oRightTrim,     m_ImgApply[4],     m_CmdRename,
        m_CmdReset,    m_CmdBlank,       m_MSFlexGrid1};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace velmorandi
