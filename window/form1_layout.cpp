// The layout of Form1 as data: the groups, then one row per field with its
// label, then the links-and-credits group and the picture.
#include "window/form1_layout.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "paycalc/situation_inputs.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"
#include "window/pick_list.h"
#include "window/svg_picture.h"
#include "window/window_fonts.h"
#include "report/text_direction.h"

namespace paywindow {

namespace {

using paycalc::Field;

constexpr QRgb kGroupColour = qRgb(255, 192, 255);   // the window and its groups
constexpr QRgb kLinksColour = qRgb(192, 192, 255);   // Frame17
constexpr QRgb kDisplayColour = qRgb(192, 192, 255); // display fields
constexpr QRgb kResultColour = qRgb(128, 255, 255);  // net pay and performance bonus
constexpr QRgb kInputColour = qRgb(255, 255, 255);   // typed fields, Combo1(0), Combo1(4)
constexpr QRgb kMessageColour = qRgb(255, 255, 224); // the message of a stopped recalculation
constexpr QRgb kMessageTextColour = qRgb(160, 0, 0);

// ---------------------------------------------------------------- groups

// clang-format off
enum GroupId : std::uint8_t {
    kFrame2, kFrame4, kFrame15, kFrame3, kFrame10,                              // right-hand column
    kFrame11, kFrame12, kFrame6, kFrame7, kFrame8, kFrame14, kFrame13, kFrame16, // middle column
    kFrame17,                                                                    // left-hand column
    kGroupCount
};
// clang-format on

struct Group {
    const char *name;
    Rect rect;
    QRgb colour;
};

constexpr std::array<Group, kGroupCount> kGroups{{
    {"Frame2", {10200, 0, 5775, 1335}, kGroupColour},     // category, echelon, specific post
    {"Frame4", {10200, 1320, 5775, 1215}, kGroupColour},  // children, family status, spouse
    {"Frame15", {10440, 2520, 5415, 735}, kGroupColour},  // mutual insurance, days of absence
    {"Frame3", {10440, 3240, 5415, 1215}, kGroupColour},  // base pay, professional experience
    {"Frame10", {10440, 4440, 5415, 3975}, kGroupColour}, // main pay and six allowances
    {"Frame11", {4560, 0, 5535, 1215}, kGroupColour},     // zone and housing allowances (typed)
    {"Frame12", {4560, 1200, 5535, 1215}, kGroupColour},  // social security
    {"Frame6", {4560, 2400, 5535, 1215}, kGroupColour},   // taxable amount, income tax
    {"Frame7", {4560, 3600, 5535, 735}, kGroupColour},    // mutual-insurance contribution
    {"Frame8", {4560, 4320, 5535, 1215}, kGroupColour},   // family allowances
    {"Frame14", {4560, 5520, 5535, 735}, kGroupColour},   // absences
    {"Frame13", {4560, 6240, 5535, 735}, kGroupColour},   // net pay
    {"Frame16", {4560, 6960, 5535, 1455}, kGroupColour},  // performance
    {"Frame17", {240, 960, 4095, 1935}, kLinksColour},    // links and credits
}};

constexpr Rect kImage2{0, 3000, 4365, 3375};
// The message of a recalculation that could not be completed, below the
// picture; the strip below it stays free.
constexpr Rect kMessage{240, 6420, 4095, 900};

// ---------------------------------------------------------------- fields

enum class Kind : std::uint8_t {
    AmountInput, // typed, filtered by gWriteOnleNumber
    MarkInput,   // typed, filtered by gWriteOnleNumber1
    Display,     // written by the recalculation only
    Result,      // a display field that stands out
    List,        // a drop-down list with the platform's background
    WhiteList,   // a drop-down list on white
    Check,
};

struct Row {
    GroupId group;
    const char *name;
    Kind kind;
    int index; // the Field, or the position in Combo1
    Rect rect; // relative to the group
    const char *label;
    Rect labelRect;
    qreal labelPoints; // 0: the window's font
};

constexpr int F(Field f) { return paycalc::Index(f); }
using paycalc::kCategoryList;
using paycalc::kChildrenList;
using paycalc::kEchelonList;
using paycalc::kFamilyStatusList;
using paycalc::kOverTenList;
using paycalc::kPostList;
using paycalc::kSpouseList;

// Top row of each group first; each label stands to the right of its field.
constexpr Row kRows[] = {
    {kFrame2, "Combo1(0)", Kind::WhiteList, kCategoryList, {3240, 240, 1575, 405}, "Label1", {4920, 240, 855, 375}, 0},
    {kFrame2, "Combo1(1)", Kind::List, kEchelonList, {240, 240, 1575, 405}, "Label2", {1920, 240, 1215, 375}, 0},
    {kFrame2, "Combo1(4)", Kind::WhiteList, kPostList, {120, 720, 3255, 405}, "Label8", {3600, 720, 1935, 375}, 0},

    {kFrame4, "Combo1(2)", Kind::List, kChildrenList, {3000, 240, 1335, 405}, "Label7", {4440, 240, 1215, 375}, 0},
    {kFrame4, "Combo1(3)", Kind::List, kOverTenList, {120, 240, 1455, 405}, "Label12", {1560, 240, 1215, 375}, 0},
    {kFrame4, "Combo1(5)", Kind::List, kFamilyStatusList, {3000, 720, 1335, 405}, "Label17", {4320, 720, 1335, 375}, 0},
    {kFrame4, "Combo1(6)", Kind::List, kSpouseList, {120, 720, 1455, 405}, "Label13", {1680, 720, 1455, 375}, 0},

    {kFrame15, "Check1", Kind::Check, 0, {2880, 240, 975, 285}, "Label11", {3960, 240, 975, 375}, 0},
    {kFrame15, "Text20", Kind::AmountInput, F(Field::Text20), {360, 240, 855, 405}, "Label58", {1320, 240, 1095, 375}, 9.75},

    {kFrame3, "Text1", Kind::Display, F(Field::Text1), {240, 240, 2055, 405}, "Label6", {2760, 240, 1455, 375}, 0},
    {kFrame3, "Text2", Kind::Display, F(Field::Text2), {240, 720, 2055, 405}, "Label5", {2760, 720, 1695, 375}, 0},

    {kFrame10, "Text3", Kind::Display, F(Field::Text3), {240, 240, 2175, 405}, "Label9", {2400, 240, 2775, 375}, 0},
    {kFrame10, "Text4", Kind::Display, F(Field::Text4), {240, 840, 2175, 405}, "Label29", {2520, 720, 2775, 615}, 0},
    {kFrame10, "Text5", Kind::Display, F(Field::Text5), {240, 1440, 2175, 405}, "Label15", {2640, 1440, 2415, 375}, 0},
    {kFrame10, "Text6", Kind::Display, F(Field::Text6), {240, 1920, 2175, 405}, "Label50", {2760, 1920, 2055, 375}, 0},
    {kFrame10, "Text7", Kind::Display, F(Field::Text7), {240, 2400, 2175, 405}, "Label4", {2760, 2400, 2055, 375}, 0},
    {kFrame10, "Text8", Kind::Display, F(Field::Text8), {240, 2880, 2175, 405}, "Label3", {2640, 2880, 2055, 375}, 0},
    {kFrame10, "Text9", Kind::Display, F(Field::Text9), {240, 3360, 2175, 405}, "Label19", {2520, 3240, 2655, 615}, 0},

    {kFrame11, "Text10", Kind::AmountInput, F(Field::Text10), {240, 240, 2175, 405}, "Label10", {2520, 240, 2055, 375}, 0},
    {kFrame11, "Text11", Kind::AmountInput, F(Field::Text11), {240, 720, 2175, 405}, "Label53", {3000, 720, 1215, 375}, 0},

    {kFrame12, "Text12", Kind::Display, F(Field::Text12), {240, 240, 2175, 405}, "Label41", {2400, 240, 2895, 375}, 0},
    {kFrame12, "Text13", Kind::Display, F(Field::Text13), {240, 720, 2175, 405}, "Label22", {2640, 720, 2055, 375}, 0},

    {kFrame6, "Text14", Kind::Display, F(Field::Text14), {120, 240, 2175, 405}, "Label24", {2640, 240, 1575, 375}, 0},
    {kFrame6, "Text15", Kind::Display, F(Field::Text15), {120, 720, 2175, 405}, "Label23", {2400, 720, 2295, 375}, 0},

    {kFrame7, "Text16", Kind::Display, F(Field::Text16), {120, 240, 2175, 405}, "Label16", {3000, 240, 1575, 375}, 0},

    {kFrame8, "Text17", Kind::Display, F(Field::Text17), {120, 240, 2175, 405}, "Label42", {2640, 240, 1935, 375}, 0},
    {kFrame8, "Text18", Kind::Display, F(Field::Text18), {120, 720, 2175, 405}, "Label14", {2520, 720, 2055, 375}, 0},

    {kFrame14, "Text19", Kind::Display, F(Field::Text19), {120, 240, 2175, 405}, "Label18", {3120, 240, 975, 375}, 0},

    {kFrame13, "Text21", Kind::Result, F(Field::Text21), {120, 240, 2175, 405}, "Label26", {3120, 240, 1335, 375}, 0},

    {kFrame16, "Text23", Kind::MarkInput, F(Field::Text23), {1680, 240, 855, 405}, "Label20", {2400, 360, 2535, 375}, 0},
    {kFrame16, "Text22", Kind::Result, F(Field::Text22), {120, 840, 2535, 405}, "Label21", {2640, 840, 1935, 375}, 0},
};

// Frame17: the credit lines and the two link buttons.
constexpr Rect kLabel27{480, 240, 3375, 375};
constexpr Rect kLabel25{360, 600, 3375, 375};
constexpr Rect kCommand5{2640, 1200, 1335, 495};
constexpr Rect kCommand2{120, 1200, 2415, 495};
constexpr const char *kCheck1Caption = "مشترك";
constexpr const char *kCommand5Caption = "الموقع";
constexpr const char *kCommand2Caption = "لاستفساراتكم واقتراحاتكم";
constexpr qreal kCommand5Points = 14.25;
constexpr qreal kCommand2Points = 12.75;

using report::Utf8;

// A list's or the box's caption is its input's; a text box's, its field's.
// A caption of two lines is shown on two lines.
QString LabelText(const Row &row)
{
    switch (row.kind) {
    case Kind::List:
    case Kind::WhiteList: return ListCaption(row.index);
    case Kind::Check: return CheckCaption();
    default:
        return Utf8(paycalc::FieldCaption(static_cast<Field>(row.index)))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
}

class Builder {
public:
    explicit Builder(QWidget &form) : form_(form) {}

    Form1Controls build();

private:
    void addGroups();
    void addRow(const Row &row);
    QWidget *addField(const Row &row, QWidget *group);
    QLineEdit *addTextBox(const Row &row, QWidget *group);
    void addLinksAndCredits();
    void addPictureAndMessage();
    void setTabOrder();

    QWidget &form_;
    std::array<QFrame *, kGroupCount> groups_{};
    Form1Controls controls_;
};

Form1Controls Builder::build()
{
    addPictureAndMessage(); // first, so that the picture renders while the rest is built
    addGroups();
    for (const Row &row : kRows) addRow(row);
    addLinksAndCredits();
    setTabOrder();
    return controls_;
}

void Builder::addGroups()
{
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        auto *frame = new QFrame(&form_);
        frame->setObjectName(QLatin1String(kGroups[g].name));
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched, without a title
        frame->setGeometry(ToPixels(kGroups[g].rect));
        SetColour(*frame, QPalette::Window, kGroups[g].colour);
        frame->setAutoFillBackground(true);
        groups_[g] = frame;
    }
}

// A few label rectangles run under a field beside them (Label13 under
// Combo1(5), Label20 under Text23); the caption keeps to the part no field
// covers. Returns the covered widths at the left and at the right, in twips.
constexpr int kCoverGap = 45; // 3 pixels between a covering field and the caption

std::pair<int, int> CoveredEnds(const Row &labelled)
{
    const Rect &label = labelled.labelRect;
    int left = label.left;
    int right = label.left + label.width;
    for (const Row &row : kRows) {
        const Rect &field = row.rect;
        if (row.group != labelled.group) continue;
        const bool sameRows = field.top < label.top + label.height && label.top < field.top + field.height;
        const bool sameColumns = field.left < right && left < field.left + field.width;
        if (!sameRows || !sameColumns) continue;
        if (2 * field.left + field.width < 2 * label.left + label.width)
            left = std::max(left, field.left + field.width + kCoverGap); // the field is on the label's left
        else right = std::min(right, field.left - kCoverGap);
    }
    return {left - label.left, label.left + label.width - right};
}

void Builder::addRow(const Row &row)
{
    QWidget *group = groups_[row.group];
    QWidget *field = addField(row, group);
    const QString caption = LabelText(row);
    const QFont font = row.labelPoints > 0 ? WindowFont(row.labelPoints, true) : WindowFont();
    const auto [coveredLeft, coveredRight] = CoveredEnds(row);
    const QRect rect = ToPixels(row.labelRect);
    // Labels read from the right, next to their field.
    QLabel *label = new QLabel(caption, group);
    label->setObjectName(QLatin1String(row.label));
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    label->setContentsMargins(Pixels(coveredLeft), 0, Pixels(coveredRight), 0);
    label->setFont(FitToWidth(font, caption, rect.width() - Pixels(coveredLeft) - Pixels(coveredRight)));
    label->lower(); // under the fields, which cover the ends of a few labels
    label->setBuddy(field);
    field->setAccessibleName(row.kind == Kind::Check || row.kind == Kind::List || row.kind == Kind::WhiteList
                                 ? CaptionTitle(caption)
                                 : QString::fromStdString(paycalc::FieldTitle(static_cast<Field>(row.index))));
}

QWidget *Builder::addField(const Row &row, QWidget *group)
{
    QWidget *field = nullptr;
    switch (row.kind) {
    case Kind::List:
    case Kind::WhiteList: {
        auto *list = new PickList(group);
        for (const std::string &entry : paycalc::ComboEntries(row.index)) list->addItem(QString::fromStdString(entry));
        if (row.kind == Kind::WhiteList) {
            SetColour(*list, QPalette::Base, kInputColour);
            SetColour(*list, QPalette::Button, kInputColour);
        }
        controls_.combos[static_cast<std::size_t>(row.index)] = list;
        field = list;
        break;
    }
    case Kind::Check: {
        auto *check = new QCheckBox(QString::fromUtf8(kCheck1Caption), group);
        check->setChecked(paycalc::kMutualTickedAtStartup);
        const int box = check->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
                        check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check);
        check->setFont(FitToWidth(check->font(), check->text(), Pixels(row.rect.width) - box));
        controls_.check1 = check;
        field = check;
        break;
    }
    default: field = addTextBox(row, group); break;
    }
    field->setObjectName(QLatin1String(row.name));
    field->setGeometry(ToPixels(row.rect));
    return field;
}

QLineEdit *Builder::addTextBox(const Row &row, QWidget *group)
{
    QLineEdit *box = nullptr;
    QRgb colour = kDisplayColour;
    switch (row.kind) {
    case Kind::AmountInput:
        box = new FilteredLineEdit(&Form1::gWriteOnleNumber, group);
        colour = kInputColour;
        break;
    case Kind::MarkInput:
        box = new FilteredLineEdit(&Form1::gWriteOnleNumber1, group);
        colour = kInputColour;
        break;
    default:
        // Display fields: locked, and no Tab stop. A click gives them the
        // focus, so that an amount can be selected and copied (mouse,
        // Shift+arrows, Ctrl+A, Ctrl+C) and a screen reader can move into it.
        box = new QLineEdit(group);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        if (row.kind == Kind::Result) colour = kResultColour;
        break;
    }
    const auto field = static_cast<Field>(row.index);
    box->setText(Utf8(paycalc::InitialText(field)));
    box->setAlignment(Qt::AlignCenter);
    SetColour(*box, QPalette::Base, colour);
    controls_.texts[static_cast<std::size_t>(row.index)] = box;
    return box;
}

void Builder::addLinksAndCredits()
{
    QWidget *group = groups_[kFrame17];
    const auto addCredit = [group](const char *objectName, const QString &text, const Rect &rect) {
        auto *label = new QLabel(text, group);
        label->setObjectName(QLatin1String(objectName));
        label->setGeometry(ToPixels(rect));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(FitToWidth(WindowFont(), text, Pixels(rect.width)));
        return label;
    };
    const QString name = QStringLiteral("كشف الراتب"); // the program's name
    controls_.label27 = addCredit("Label27",
                                  QStringLiteral("%1 — الإصدار %2").arg(name, QStringLiteral(PAYSLIP_VERSION)), kLabel27);
    controls_.label25 = addCredit("Label25", QStringLiteral(PAYSLIP_WEB_HOST), kLabel25);

    const auto addButton = [group](const char *objectName, const char *caption, const Rect &rect, qreal points,
                                   bool bold) {
        auto *button = new QPushButton(QString::fromUtf8(caption), group);
        button->setObjectName(QLatin1String(objectName));
        button->setGeometry(ToPixels(rect));
        const int margins = 2 * (button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                                 button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
        button->setFont(FitToWidth(WindowFont(points, bold), button->text(), Pixels(rect.width) - margins));
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
        PressOnEnter(*button);
        return button;
    };
    controls_.command5 = addButton("Command5", kCommand5Caption, kCommand5, kCommand5Points, false);
    controls_.command2 = addButton("Command2", kCommand2Caption, kCommand2, kCommand2Points, true);
}

void Builder::addPictureAndMessage()
{
    auto *image2 = new SvgPicture(QStringLiteral(":/tap.svg"), QStringLiteral(":/tap.png"), ToPixels(kImage2), &form_);
    image2->setObjectName(QStringLiteral("Image2"));

    auto *message = new QLabel(&form_);
    message->setObjectName(QStringLiteral("RecalcMessage"));
    message->setGeometry(ToPixels(kMessage));
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setFont(WindowFont(kMessagePoints, true));
    message->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetColour(*message, QPalette::Window, kMessageColour);
    SetColour(*message, QPalette::WindowText, kMessageTextColour);
    message->setAutoFillBackground(true);
    message->setAccessibleName(QStringLiteral("رسالة الحساب"));
    message->hide();
    controls_.message = message;
}

// Tab visits the inputs, then the two link buttons; display fields are no
// Tab stops.
void Builder::setTabOrder()
{
    const QList<QWidget *> order = InputOrder(controls_) << controls_.command5 << controls_.command2;
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

// QPushButton takes Enter only as an auto-default button, which also makes
// it the default of its dialog while it has the focus; this keeps the
// buttons plain and gives them Enter all the same.
class EnterClicks final : public QObject {
public:
    explicit EnterClicks(QPushButton &button) : QObject(&button), button_(button) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &button_ || event->type() != QEvent::KeyPress) return false;
        const auto *key = static_cast<const QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers != Qt::NoModifier) return false;
        if (!key->isAutoRepeat() && button_.isEnabled()) button_.click();
        return true;
    }

private:
    QPushButton &button_;
};

} // namespace

void SetColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

void PressOnEnter(QPushButton &button) { button.installEventFilter(new EnterClicks(button)); }

Form1Controls BuildForm1Layout(QWidget &form) { return Builder(form).build(); }

QList<QWidget *> InputOrder(const Form1Controls &c)
{
    // clang-format off
    return {c.combos[kCategoryList], c.combos[kEchelonList], c.combos[kPostList],
            c.combos[kChildrenList], c.combos[kOverTenList], c.combos[kFamilyStatusList],
            c.combos[kSpouseList], c.check1,
            c.texts[F(Field::Text20)], c.texts[F(Field::Text10)], c.texts[F(Field::Text11)], c.texts[F(Field::Text23)]};
    // clang-format on
}

QString ListCaption(int list) { return Utf8(paycalc::CaptionOf(paycalc::InputOfList(list))); }

QString CheckCaption() { return Utf8(paycalc::CaptionOf(paycalc::InputOf(paycalc::Input::Mutual))); }

QString CaptionTitle(const QString &caption)
{
    QString title = caption.simplified(); // lines joined, runs of blanks folded
    while (title.endsWith(QLatin1Char(':')) || title.endsWith(QLatin1Char(' '))) title.chop(1);
    return title;
}

} // namespace paywindow
