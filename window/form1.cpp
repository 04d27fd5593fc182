// Form1's start-up and wiring: the lists are filled and selected, the slip is
// computed once, and every change of an input computes it again.
#include "window/form1.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <exception>
#include <string>

#include "paycalc/recalculate.h"
#include "window/batch_dialog.h"
#include "window/compare_window.h"
#include "window/line_explanations.h"
#include "window/pick_list.h"
#include "window/slip_actions.h"
#include "window/svg_picture.h"
#include "window/window_fonts.h"

// Resources of a static library are registered by name, outside any namespace.
static void RegisterResources() { Q_INIT_RESOURCE(payslip); }

namespace {

using paycalc::Field;
using paywindow::Pixels;

constexpr QRgb kWindowColour = qRgb(255, 192, 255);

// The window of type W that `form` owns, made by `make` when there is none,
// shown above the others with the keyboard.
template <class W, class Make>
void ShowOwned(Form1 &form, Make make)
{
    W *window = form.findChild<W *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = make();
    window->show();
    window->raise();
    window->activateWindow();
}

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
    paywindow::SetColour(*this, QPalette::Window, kWindowColour);
    setFixedSize(Pixels(paywindow::kClientWidth), Pixels(paywindow::kClientHeight));

    controls_ = paywindow::BuildForm1Layout(*this);
    actions_ = new paywindow::SlipActions(*this, slip_, controls_);
    for (QPushButton *button : actions_->buttons()) paywindow::PressOnEnter(*button);

    // Every list gets its default selection, in list order; then one
    // recalculation computes the first slip.
    for (int list = 0; list < paycalc::kComboCount; ++list)
        combo(list)->setCurrentIndex(paycalc::kStartupSelection[static_cast<std::size_t>(list)]);
    connectInputs();
    connect(compareAction(), &QAction::triggered, this, [this] {
        ShowOwned<paywindow::CompareWindow>(*this, [this] { return new paywindow::CompareWindow(*this); });
    });
    connect(batchAction(), &QAction::triggered, this, [this] {
        ShowOwned<paywindow::BatchDialog>(*this, [this] {
            auto *dialog = new paywindow::BatchDialog(this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            return dialog;
        });
    });
    recalculate();
    // 48 × 48 pixels, rendered from the SVG icon beforehand.
    setWindowIcon(QIcon(QPixmap::fromImage(paywindow::ReadPng(QStringLiteral(":/payslip-48.png")))));
}

void Form1::connectInputs()
{
    for (paywindow::PickList *list : controls_.combos) {
        // A pick applies the family-status rule, then recalculates, once;
        // any other change of a list's text recalculates only.
        connect(list, &QComboBox::activated, this, [this] {
            ApplyFamilyStatusRule(controls_);
            recalculate();
        });
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

void Form1::ApplyFamilyStatusRule(const paywindow::Form1Controls &controls)
{
    for (int list : paycalc::ListsHeldAtZero(controls.combos[paycalc::kFamilyStatusList]->currentIndex())) {
        QComboBox *held = controls.combos.at(static_cast<std::size_t>(list));
        const QSignalBlocker quiet(held);
        held->setCurrentIndex(0);
    }
}

void Form1::recalculate()
{
    ++recalculations_;
    QString problem;
    form_.BeginRun();
    slip_.error.reset();
    try {
        paycalc::RecalculateAll(form_, &slip_.trace);
    } catch (const paycalc::RecalcError &error) {
        slip_.error = error;
        problem = QString::fromStdString(paycalc::StoppedMessage(error, paycalc::SituationOf(form_)).arabic);
    } catch (const std::exception &) {
        problem = QStringLiteral("تعذر إكمال حساب الكشف، راجع القيم المكتوبة.");
    }
    // The explanations are this run's, and an incomplete slip does not leave the window.
    paywindow::ShowExplanations(controls_, slip_.trace, form_);
    actions_->setSlipComplete(problem.isEmpty());
    QLabel *message = controls_.message;
    if (problem.isEmpty()) {
        paycalc::ReadForm(form_, slip_);
        message->hide();
        message->clear();
        message->setAccessibleDescription(QString());
        return;
    }
    // The lines this run did not reach would otherwise look current.
    for (Field line : paycalc::kComputedFields)
        if (!form_.Written(line)) form_.SetText(line, std::string());
    paycalc::ReadForm(form_, slip_);
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

QComboBox *Form1::combo(int list) const { return controls_.combos.at(static_cast<std::size_t>(list)); }
