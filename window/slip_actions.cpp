#include "window/slip_actions.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include "paycalc/fields.h"
#include "report/slip_report.h"
#include "window/form1_layout.h"
#include "window/window_fonts.h"
#include "report/text_direction.h"

namespace paywindow {

namespace {

// The free corner of the left-hand column, below the picture and the
// message of a stopped recalculation, in twips: a panel of six buttons,
// two rows of three, in the colours of the links-and-credits group.
constexpr Rect kPanel{240, 7350, 4095, 1050};
constexpr QRgb kPanelColour = qRgb(192, 192, 255);

// The buttons inside the panel. Rows read from the right: the first action
// of a row stands at its right.
constexpr int kButtonWidth = 1265;
constexpr int kButtonHeight = 450;
constexpr int kRightColumn = 2770;
constexpr int kMiddleColumn = 1415;
constexpr int kLeftColumn = 60;
constexpr int kTopRow = 45;
constexpr int kBottomRow = 555;

using report::LeftToRight;
using report::RightToLeft;

const QString kBilingualKey = QStringLiteral("print/bilingual");
const QString kDefaultPdfName = QStringLiteral("كشف-الراتب.pdf");
const QString kUnavailable = QStringLiteral("غير متاح حتى يكتمل حساب الكشف");

} // namespace

SlipActions::SlipActions(QWidget &window, const paycalc::Slip &slip, const Form1Controls &controls)
    : QObject(&window), window_(window), slip_(slip)
{
    print_ = addAction(QStringLiteral("طباعة…"), QStringLiteral("طباعة الكشف"), QKeySequence(Qt::CTRL | Qt::Key_P));
    preview_ = addAction(QStringLiteral("معاينة قبل الطباعة…"), QStringLiteral("معاينة الكشف قبل الطباعة"),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    pdf_ = addAction(QStringLiteral("حفظ PDF…"), QStringLiteral("حفظ الكشف في ملف PDF"),
                     QKeySequence(Qt::CTRL | Qt::Key_S));
    // Not Ctrl+C: that copies the selection of the typed field with the focus.
    copy_ = addAction(QStringLiteral("نسخ الكشف"), QStringLiteral("نسخ الكشف كله كنص"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    compare_ = addAction(QStringLiteral("مقارنة…"), QStringLiteral("مقارنة وضعيتين وسلم الدرجات ومراجعة كشف رسمي"),
                         QKeySequence(Qt::CTRL | Qt::Key_M));
    batch_ = addAction(QStringLiteral("كشوف مجمعة…"), QStringLiteral("حساب كشوف قائمة الموظفين من ملف"),
                       QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(print_, &QAction::triggered, this, &SlipActions::askPrint);
    connect(preview_, &QAction::triggered, this, &SlipActions::askPreview);
    connect(pdf_, &QAction::triggered, this, [this] {
        if (complete_)
            AskAndSavePdf(window_, pdf_->whatsThis(), kDefaultPdfName, QStringLiteral("الكشف"),
                          [this](const QString &path) { return savePdf(path); });
    });
    connect(copy_, &QAction::triggered, this, [this] { copySlip(); });

    panel_ = new QFrame(&window);
    panel_->setObjectName(QStringLiteral("SlipButtons"));
    panel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel_->setGeometry(ToPixels(kPanel));
    SetColour(*panel_, QPalette::Window, kPanelColour);
    panel_->setAutoFillBackground(true);
    addButton(print_, "PrintButton", QStringLiteral("طباعة"), kRightColumn, kTopRow);
    addButton(preview_, "PreviewButton", QStringLiteral("معاينة"), kMiddleColumn, kTopRow);
    addButton(pdf_, "PdfButton", QStringLiteral("حفظ PDF"), kLeftColumn, kTopRow);
    addButton(copy_, "CopyButton", QStringLiteral("نسخ الكشف"), kRightColumn, kBottomRow);
    addButton(compare_, "CompareButton", QStringLiteral("مقارنة"), kMiddleColumn, kBottomRow);
    addButton(batch_, "BatchButton", QStringLiteral("كشوف مجمعة"), kLeftColumn, kBottomRow);

    // The window's menu opens wherever a right click is not taken by a
    // control: on the background, the groups, the labels and the picture.
    menu_ = new QMenu(&window);
    menu_->setObjectName(QStringLiteral("SlipMenu"));
    menu_->setLayoutDirection(window.layoutDirection()); // a popup does not inherit it
    menu_->addActions({print_, preview_, pdf_});
    menu_->addSeparator();
    menu_->addAction(copy_);
    menu_->addSeparator();
    menu_->addActions({compare_, batch_});
    addFieldMenu(controls);
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { menu_->popup(window_.mapToGlobal(at)); });
}

// A display field's own menu: copy its amount (the part selected, or the
// whole amount when nothing is), then the slip's actions. The typed fields
// keep their edit menu.
void SlipActions::addFieldMenu(const Form1Controls &controls)
{
    const QString copyKeys = QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    auto *copy = new QAction(RightToLeft(QStringLiteral("نسخ")) + QLatin1Char('\t') + LeftToRight(copyKeys), this);
    copy->setObjectName(QStringLiteral("CopyAmount"));
    connect(copy, &QAction::triggered, this, [this] {
        if (!menuField_) return;
        QGuiApplication::clipboard()->setText(menuField_->hasSelectedText() ? menuField_->selectedText()
                                                                            : menuField_->text());
    });
    auto *menu = new QMenu(&window_);
    menu->setObjectName(QStringLiteral("FieldMenu"));
    menu->setLayoutDirection(window_.layoutDirection());
    menu->addAction(copy);
    menu->addSeparator();
    menu->addActions(menu_->actions());
    for (paycalc::Field line : paycalc::kComputedFields) {
        QLineEdit *box = controls.texts[static_cast<std::size_t>(paycalc::Index(line))];
        if (!box) continue; // a hidden working field
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this, [this, box, copy, menu](const QPoint &at) {
            menuField_ = box;
            copy->setEnabled(!box->text().isEmpty());
            menu->popup(box->mapToGlobal(at));
        });
    }
}

QAction *SlipActions::addAction(const QString &text, const QString &title, const QKeySequence &shortcut)
{
    auto *action = new QAction(RightToLeft(text), this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    const QString keys = shortcut.toString(QKeySequence::NativeText);
    action->setToolTip(RightToLeft(QStringLiteral("%1 (%2)").arg(title, LeftToRight(keys))));
    action->setWhatsThis(title);
    action->setStatusTip(QStringLiteral("اختصار لوحة المفاتيح: %1").arg(keys));
    window_.addAction(action);
    return action;
}

void SlipActions::addButton(QAction *action, const char *name, const QString &caption, int left, int top)
{
    auto *button = new QPushButton(caption, panel_);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(ToPixels({left, top, kButtonWidth, kButtonHeight}));
    const int margins = 2 * (button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    button->setFont(FitToWidth(WindowFont(), caption, button->width() - margins));
    button->setAccessibleName(action->whatsThis());
    button->setAccessibleDescription(action->statusTip());
    button->setToolTip(action->toolTip());
    button->setAutoDefault(false);
    // Out of the Tab order, which the inputs and the two link buttons keep;
    // the shortcuts reach these from the keyboard. A click leaves the focus
    // in the field being typed.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, button, [button, action](bool enabled) {
        button->setEnabled(enabled);
        button->setToolTip(enabled ? action->toolTip()
                                   : action->toolTip() + QLatin1Char('\n') + RightToLeft(kUnavailable));
    });
    buttons_ << button;
}

void SlipActions::setSlipComplete(bool complete)
{
    complete_ = complete;
    for (QAction *action : {print_, preview_, pdf_, copy_}) action->setEnabled(complete);
}

// The window prints without identity lines; the French labels are a
// setting the window remembers from one run to the next.
bool SlipActions::bilingual()
{
    return QSettings(QStringLiteral("payslip"), QStringLiteral("payslip")).value(kBilingualKey, false).toBool();
}

void SlipActions::setBilingual(bool on)
{
    QSettings(QStringLiteral("payslip"), QStringLiteral("payslip")).setValue(kBilingualKey, on);
}

static report::PrintOptions WindowPrintOptions()
{
    report::PrintOptions options;
    options.printed = QDate::currentDate();
    options.bilingual = SlipActions::bilingual();
    return options;
}

bool SlipActions::printTo(QPrinter &printer) const
{
    if (!complete_) return false;
    report::PrintSlip(slip_, WindowPrintOptions(), printer);
    return true;
}

bool SlipActions::savePdf(const QString &path) const
{
    if (!complete_) return false;
    // Whole or not at all: a failed write leaves the file that was there.
    return report::WriteSlipPdf(slip_, WindowPrintOptions(), path);
}

bool SlipActions::copySlip() const
{
    if (!complete_) return false;
    QGuiApplication::clipboard()->setText(report::SlipText(slip_));
    return true;
}

void SlipActions::askPrint()
{
    if (!complete_) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window_);
    dialog.setWindowTitle(print_->whatsThis());
    // A tab of the dialog for the slip's own choice: labels in French too.
    auto *options = new QWidget;
    options->setObjectName(QStringLiteral("SlipPrintOptions"));
    options->setWindowTitle(QStringLiteral("الكشف"));
    options->setLayoutDirection(Qt::RightToLeft);
    auto *french = new QCheckBox(QStringLiteral("العناوين بالعربية والفرنسية"), options);
    french->setObjectName(QStringLiteral("BilingualBox"));
    french->setChecked(bilingual());
    (new QVBoxLayout(options))->addWidget(french);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted) return;
    setBilingual(french->isChecked());
    printTo(printer);
}

void SlipActions::askPreview()
{
    if (!complete_) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, &window_);
    dialog.setWindowTitle(preview_->whatsThis());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *pages) { printTo(*pages); });
    dialog.exec();
}

void AskAndSavePdf(QWidget &parent, const QString &title, const QString &fileName, const QString &what,
                   const std::function<bool(const QString &)> &save)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString path = QFileDialog::getSaveFileName(&parent, title, QDir(folder).filePath(fileName),
                                                      QStringLiteral("ملفات PDF (*.pdf)"));
    if (path.isEmpty()) return; // the user changed their mind
    if (save(path)) return;
    QMessageBox warning(QMessageBox::Warning, QStringLiteral("تعذر الحفظ"),
                        QStringLiteral("تعذر حفظ %1 في الملف\n%2\nتحقق من أن المجلد موجود وأن الكتابة فيه مسموحة.")
                            .arg(what, LeftToRight(QDir::toNativeSeparators(path))),
                        QMessageBox::Ok, &parent);
    warning.setLayoutDirection(Qt::RightToLeft); // a dialog takes the application's direction, not the window's
    warning.button(QMessageBox::Ok)->setText(QStringLiteral("حسنا"));
    warning.exec();
}

} // namespace paywindow
