// The comparison window's shell: its tabs, its actions (print, PDF, copy,
// close), following the pay-slip window, and one refresh that computes both
// situations and hands each tab what it shows. The tabs are in
// compare_tab.cpp, ladder_tab.cpp and check_tab.cpp.
#include "window/compare_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "report/text_direction.h"
#include "window/compare_situation.h"
#include "window/compare_window_shared.h"
#include "window/form1.h"
#include "window/pick_list.h"
#include "window/slip_actions.h"
#include "window/window_fonts.h"

namespace paywindow {

using namespace compare_shared;

CompareWindow::CompareWindow(Form1 &main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("مقارنة"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(WindowFont());
    setWindowIcon(main.windowIcon());
    SetColour(*this, QPalette::Window, kWindowColour);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("CompareMessage"));
    message_->setAccessibleName(QStringLiteral("رسالة الحساب"));
    message_->setWordWrap(true);
    message_->setFont(WindowFont(kTablePoints, true));
    SetColour(*message_, QPalette::WindowText, kMessageColour);
    message_->hide();
    layout->addWidget(message_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("CompareTabs"));
    tabs_->setAccessibleName(QStringLiteral("أقسام المقارنة"));
    tabs_->setDocumentMode(true);
    tabs_->addTab(buildCompareTab(), QStringLiteral("مقارنة"));
    tabs_->addTab(buildLadderTab(), QStringLiteral("سلم الدرجات"));
    tabs_->addTab(buildCheckTab(), QStringLiteral("مراجعة كشف رسمي"));
    layout->addWidget(tabs_, 1);

    // The document leaves the window through three actions, each with a
    // shortcut and a button; Ctrl+1..3 open the tabs, Escape closes.
    auto *corner = new QWidget(tabs_);
    auto *buttons = new QHBoxLayout(corner);
    buttons->setContentsMargins(0, 0, 0, 2);
    buttons->setSpacing(4);
    const auto makeAction = [&](const QString &caption, const QString &title, const QKeySequence &keys, const char *name) {
        auto *action = new QAction(caption, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setWhatsThis(title);
        action->setToolTip(RightToLeft(QStringLiteral("%1 (%2)").arg(title, keys.toString(QKeySequence::NativeText))));
        this->addAction(action);
        auto *button = new QPushButton(caption, corner);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(title);
        button->setToolTip(action->toolTip());
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
        buttons->addWidget(button);
        return action;
    };
    print_ = makeAction(QStringLiteral("طباعة…"), QStringLiteral("طباعة المقارنة"), QKeySequence(Qt::CTRL | Qt::Key_P),
                        "ComparePrintButton");
    pdf_ = makeAction(QStringLiteral("حفظ PDF…"), QStringLiteral("حفظ المقارنة في ملف PDF"),
                      QKeySequence(Qt::CTRL | Qt::Key_S), "ComparePdfButton");
    copy_ = makeAction(QStringLiteral("نسخ"), QStringLiteral("نسخ المقارنة كنص مفصول بعلامات الجدولة"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), "CompareCopyButton");
    connect(print_, &QAction::triggered, this, &CompareWindow::askPrint);
    connect(pdf_, &QAction::triggered, this, [this] {
        if (document())
            AskAndSavePdf(*this, pdf_->whatsThis(), QStringLiteral("مقارنة.pdf"), QStringLiteral("المقارنة"),
                          [this](const QString &path) { return savePdf(path); });
    });
    connect(copy_, &QAction::triggered, this, [this] { copyComparison(); });
    auto *close = new QPushButton(QStringLiteral("إغلاق"), corner);
    close->setObjectName(QStringLiteral("CompareCloseButton"));
    close->setAccessibleName(QStringLiteral("إغلاق نافذة المقارنة"));
    close->setToolTip(QStringLiteral("إغلاق (Esc)"));
    close->setAutoDefault(false);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(close);
    // The buttons share the row of the tabs, at its far end, so that the
    // lines of the slip keep the height of the window.
    tabs_->setCornerWidget(corner, Qt::TopRightCorner);
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        auto *go = new QAction(this);
        go->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + tab)));
        go->setShortcutContext(Qt::WindowShortcut);
        connect(go, &QAction::triggered, tabs_, [this, tab] { tabs_->setCurrentIndex(tab); });
        addAction(go);
        tabs_->setTabToolTip(tab, QStringLiteral("Ctrl+%1").arg(tab + 1));
    }

    // Keyboard order: the second situation as the pay-slip window orders its
    // inputs, then what reads from them.
    QList<QWidget *> order = other_->tabOrder();
    order << refill_ << lines_ << months_;
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    refill();
    connect(other_, &SituationEditor::changed, this, &CompareWindow::refresh);
    connect(months_, &QSpinBox::valueChanged, this, &CompareWindow::showBackPay);
    followMainWindow();
    refresh();
    resize(kWidth, kHeight);
}

// The left side follows every input of the pay-slip window. A pick there
// may be followed by the family-status rule, which changes the children
// counts quietly; the pick's own signal comes after it and brings the
// window up to date.
void CompareWindow::followMainWindow()
{
    for (int list = 0; list < paycalc::kComboCount; ++list) {
        connect(main_.combo(list), &QComboBox::currentIndexChanged, this, &CompareWindow::refresh);
        connect(main_.combo(list), &QComboBox::activated, this, &CompareWindow::refresh);
    }
    connect(main_.check1(), &QCheckBox::toggled, this, &CompareWindow::refresh);
    for (Field field : paycalc::kTypedFields)
        connect(main_.text(field), &QLineEdit::textChanged, this, &CompareWindow::refresh);
}

void CompareWindow::refill() { other_->setSituation(paycalc::SituationOf(main_.payForm())); }

void CompareWindow::clearAll(const QString &why)
{
    comparison_.reset();
    ladderData_.reset();
    check_.reset();
    for (int r = 0; r < lines_->rowCount(); ++r)
        for (int c : {kAfterColumn, kDifferenceColumn, kBeforeColumn}) lines_->item(r, c)->setText(QStringLiteral("—"));
    for (QLabel *label : {backMonthly_, backBonus_, backTotal_}) label->setText(QStringLiteral("—"));
    for (int r = 0; r < ladder_->rowCount(); ++r)
        for (int c = 0; c < ladder_->columnCount(); ++c) ladder_->item(r, c)->setText(QString());
    above_->clear();
    for (auto &[field, line] : official_) {
        line.ours->setText(QStringLiteral("—"));
        line.difference->clear();
        line.verdict->clear();
    }
    explanations_->clear();
    checkSummary_->setText(why);
    message_->setText(why);
    message_->setAccessibleDescription(why);
    message_->show();
    for (QAction *action : {print_, pdf_, copy_}) action->setEnabled(false);
}

void CompareWindow::refresh()
{
    ++refreshes_;
    const paycalc::Situation current = paycalc::SituationOf(main_.payForm());
    const paycalc::Situation other = other_->situation();
    const bool currentChanged = !ladderData_ || !(current == current_);
    current_ = current;

    const QList<report::SituationRow> rows = report::SituationRows(current);
    for (qsizetype i = 0; i < rows.size() && i < currentValues_.size(); ++i) {
        currentValues_[i]->setText(rows[i].value);
        currentValues_[i]->setToolTip(rows[i].value);
    }

    // The pay-slip window can be put, by the program, in a state no pick
    // reaches (a count of children while single); nothing is computed then.
    if (!current.Problem().empty()) {
        clearAll(QStringLiteral("لا تحسب المقارنة: الوضعية في نافذة الكشف غير ممكنة (أعزب مع أولاد؟)."));
        return;
    }
    if (!other.Problem().empty()) {
        clearAll(QStringLiteral("لا تحسب المقارنة: الوضعية الجديدة غير ممكنة (أعزب مع أولاد؟)."));
        return;
    }
    comparison_ = paycalc::Compare(current, other);
    QString problem;
    for (const paycalc::Slip *slip : {&comparison_->before, &comparison_->after}) {
        if (slip->ok()) continue;
        problem += (slip == &comparison_->before ? QStringLiteral("الوضعية الحالية: ")
                                                 : QStringLiteral("الوضعية الجديدة: ")) +
                   QString::fromStdString(paycalc::StoppedMessage(*slip->error, slip->situation).arabic) +
                   QLatin1Char(' ');
    }
    message_->setText(problem.trimmed());
    message_->setAccessibleDescription(problem.trimmed());
    message_->setVisible(!problem.isEmpty());
    for (QAction *action : {print_, pdf_, copy_}) action->setEnabled(comparison_->ok());

    showLines();
    showBackPay();
    if (currentChanged) {
        ladderData_ = paycalc::ComputeLadder(current);
        showLadder();
    }
    showCheck();
}

std::optional<report::ComparisonDocument> CompareWindow::document() const
{
    if (!comparison_ || !comparison_->ok()) return std::nullopt;
    report::ComparisonDocument document;
    document.comparison = *comparison_;
    document.backPay = backPay();
    document.ladder = ladderData_;
    document.check = check_;
    return document;
}

bool CompareWindow::printTo(QPrinter &printer) const
{
    const std::optional<report::ComparisonDocument> doc = document();
    if (!doc) return false;
    report::PrintComparison(*doc, printer);
    return printer.printerState() != QPrinter::Error;
}

bool CompareWindow::savePdf(const QString &path, QString *error) const
{
    const std::optional<report::ComparisonDocument> doc = document();
    if (!doc) {
        if (error) *error = QStringLiteral("لم يكتمل حساب المقارنة");
        return false;
    }
    return report::WriteComparisonPdf(*doc, path, error);
}

bool CompareWindow::copyComparison() const
{
    const std::optional<report::ComparisonDocument> doc = document();
    if (!doc) return false;
    QGuiApplication::clipboard()->setText(report::ComparisonText(*doc));
    return true;
}

void CompareWindow::askPrint()
{
    if (!document()) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(print_->whatsThis());
    if (dialog.exec() == QDialog::Accepted) printTo(printer);
}

} // namespace paywindow
