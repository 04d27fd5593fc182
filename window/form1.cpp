// Form1's start-up and wiring: the lists are filled and selected, the slip is
// computed once, and every change of an input computes it again.
#include "window/form1.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "paycalc/recalculate.h"
#include "window/batch_dialog.h"
#include "window/compare_window.h"
#include "window/form_adapter.h"
#include "window/line_explanations.h"
#include "window/pick_list.h"
#include "window/recalc_message.h"
#include "window/slip_actions.h"
#include "window/svg_picture.h"
#include "window/window_fonts.h"

// Resources of a static library are registered by name, outside any namespace.
static void RegisterResources() { Q_INIT_RESOURCE(payslip); }

namespace {

using paycalc::Field;
using paywindow::Pixels;

constexpr QRgb kWindowColour = qRgb(255, 192, 255);

constexpr Qt::WindowFlags kFixedWindow = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent, kFixedWindow)
{
    RegisterResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("كشف الراتب جانفي 2016"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(paywindow::WindowFont());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(kWindowColour));
    setPalette(background);
    setFixedSize(Pixels(paywindow::kClientWidth), Pixels(paywindow::kClientHeight));

    controls_ = paywindow::BuildForm1Layout(*this);
    form_ = std::make_unique<paywindow::FormAdapter>(controls_);
    actions_ = new paywindow::SlipActions(*this, slip_, controls_);
    for (QPushButton *button : actions_->buttons()) paywindow::PressOnEnter(*button);

    // Start-up: the category list gets "1".."17", then the echelon and the
    // two children lists get "0".."12" side by side, one number per pass.
    for (const std::string &entry : paycalc::ComboEntries(paycalc::kCategoryList))
        combo(paycalc::kCategoryList)->addItem(QString::fromStdString(entry));
    constexpr int counted[] = {paycalc::kEchelonList, paycalc::kChildrenList, paycalc::kOverTenList};
    std::vector<std::string> numbers[std::size(counted)];
    for (std::size_t k = 0; k < std::size(counted); ++k) numbers[k] = paycalc::ComboEntries(counted[k]);
    for (std::size_t n = 0; n < numbers[0].size(); ++n)
        for (std::size_t k = 0; k < std::size(counted); ++k)
            if (n < numbers[k].size()) combo(counted[k])->addItem(QString::fromStdString(numbers[k][n]));
    // Every list gets its default selection, in list order; then one
    // recalculation computes the first slip.
    for (int list = 0; list < paycalc::kComboCount; ++list)
        combo(list)->setCurrentIndex(paycalc::kStartupSelection[static_cast<std::size_t>(list)]);
    connectInputs();
    connect(compareAction(), &QAction::triggered, this, [this] { paywindow::CompareWindow::Open(*this); });
    connect(batchAction(), &QAction::triggered, this, [this] { paywindow::BatchDialog::Open(*this); });
    recalculate();
    // 48 × 48 pixels, rendered from the SVG icon beforehand.
    setWindowIcon(QIcon(QPixmap::fromImage(paywindow::ReadPng(QStringLiteral(":/payslip-48.png")))));
}

Form1::~Form1() = default;

void Form1::connectInputs()
{
    for (paywindow::PickList *list : controls_.combos) {
        // A pick applies the family-status rule, then recalculates, once;
        // any other change of a list's text recalculates only.
        connect(list, &QComboBox::activated, this, &Form1::onListPicked);
        connect(list, &paywindow::PickList::changedWithoutPick, this, &Form1::recalculate);
    }
    connect(controls_.check1, &QCheckBox::toggled, this, &Form1::recalculate);
    // The typed amounts and the performance mark recalculate at every change.
    for (Field typed : paycalc::kTypedFields) connect(text(typed), &QLineEdit::textChanged, this, &Form1::recalculate);
    // The desktop's browser opens the page; nothing waits for it, and a
    // failure leaves the window as it is.
    connect(controls_.command5, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(homePage()); });
    connect(controls_.command2, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(contactPage()); });
}

void Form1::onListPicked()
{
    applyFamilyStatusRule();
    recalculate();
}

// The family-status rule (a single employee's children counts held at 0),
// whichever list was picked. The recalculation that follows the rule covers
// these changes, so they raise no recalculation of their own.
void Form1::applyFamilyStatusRule()
{
    for (int list : paycalc::ListsHeldAtZero(form_->ListIndex(paycalc::kFamilyStatusList))) {
        const QSignalBlocker quiet(combo(list));
        combo(list)->setCurrentIndex(0);
    }
}

void Form1::recalculate()
{
    ++recalculations_;
    QString problem;
    form_->BeginRun();
    slip_.error.reset();
    try {
        paycalc::RecalculateAll(*form_, &slip_.trace);
    } catch (const paycalc::RecalcError &error) {
        slip_.error = error;
        problem = paywindow::RecalcMessage(error, paycalc::SituationOf(*form_));
    } catch (const std::exception &) {
        problem = QStringLiteral("تعذر إكمال حساب الكشف، راجع القيم المكتوبة.");
    }
    // The explanations are this run's, and an incomplete slip does not leave the window.
    paywindow::ShowExplanations(controls_, slip_.trace, *form_);
    actions_->setSlipComplete(problem.isEmpty());
    QLabel *message = controls_.message;
    if (problem.isEmpty()) {
        paycalc::ReadForm(*form_, slip_);
        message->hide();
        message->clear();
        message->setAccessibleDescription(QString());
        return;
    }
    // The lines this run did not reach would otherwise look current.
    for (Field line : paycalc::kComputedFields)
        if (!form_->Written(line)) form_->SetText(line, std::string());
    paycalc::ReadForm(*form_, slip_);
    const int inner = 2 * message->frameWidth() + 4;
    message->setFont(paywindow::FitToBox(paywindow::WindowFont(paywindow::kMessagePoints, true), problem,
                                         message->width() - inner, message->height() - inner));
    message->setText(problem);
    message->setAccessibleDescription(problem);
    message->show();
    QAccessibleEvent alert(message, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

QUrl Form1::homePage() { return QUrl(QStringLiteral("http://" PAYSLIP_WEB_HOST "/")); }

QUrl Form1::contactPage() { return QUrl(QStringLiteral("http://" PAYSLIP_WEB_HOST "/new/contacte.php")); }

QLineEdit *Form1::text(Field field) const { return controls_.texts[static_cast<std::size_t>(paycalc::Index(field))]; }

QComboBox *Form1::combo(int list) const { return controls_.combos.at(static_cast<std::size_t>(list)); }

QCheckBox *Form1::check1() const { return controls_.check1; }
QPushButton *Form1::command5() const { return controls_.command5; }
QPushButton *Form1::command2() const { return controls_.command2; }
QLabel *Form1::label27() const { return controls_.label27; }
QLabel *Form1::label25() const { return controls_.label25; }
QLabel *Form1::messageLabel() const { return controls_.message; }

paycalc::PayForm &Form1::payForm() { return *form_; }
const paycalc::PayForm &Form1::payForm() const { return *form_; }

QAction *Form1::printAction() const { return actions_->printAction(); }
QAction *Form1::previewAction() const { return actions_->previewAction(); }
QAction *Form1::pdfAction() const { return actions_->pdfAction(); }
QAction *Form1::copyAction() const { return actions_->copyAction(); }
QAction *Form1::compareAction() const { return actions_->compareAction(); }
QAction *Form1::batchAction() const { return actions_->batchAction(); }
QList<QPushButton *> Form1::slipButtons() const { return actions_->buttons(); }
bool Form1::printSlip(QPrinter &printer) { return actions_->printTo(printer); }
bool Form1::savePdf(const QString &path) { return actions_->savePdf(path); }
bool Form1::copySlip() { return actions_->copySlip(); }
