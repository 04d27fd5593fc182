#include "window/compare_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <exception>

#include "paycalc/memory_form.h"
#include "window/compare_situation.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"
#include "window/pick_list.h"
#include "window/recalc_message.h"
#include "window/window_fonts.h"
#include "report/text_direction.h"

namespace paywindow {

namespace {

using paycalc::Field;

constexpr QRgb kWindowColour = qRgb(255, 192, 255);  // as the pay-slip window
constexpr QRgb kResultColour = qRgb(128, 255, 255);  // net pay and performance bonus
constexpr QRgb kCurrentColour = qRgb(255, 255, 160); // the current echelon of the ladder
constexpr QRgb kRiseColour = qRgb(0, 110, 0);
constexpr QRgb kFallColour = qRgb(170, 0, 0);
constexpr QRgb kMessageColour = qRgb(160, 0, 0);
constexpr int kWidth = 1072;
constexpr int kHeight = 565;
constexpr int kDefaultMonths = 12;
constexpr double kTablePoints = 10;
constexpr double kLinePoints = 9; // the tables, whose every row stays in view
constexpr int kSideWidth = 345;    // the second situation's column
constexpr int kCurrentWidth = 300; // the current one's; the lines take the rest
constexpr qsizetype kPostRow = 2; // of report::SituationRows

using report::LeftToRight;
using report::Utf8;
using report::RightToLeft;

QString Shown(const std::string &amount) { return amount.empty() ? QStringLiteral("—") : LeftToRight(Utf8(amount)); }

QColor ChangeColour(report::Change change)
{
    switch (change) {
    case report::Change::Up: return QColor(kRiseColour);
    case report::Change::Down: return QColor(kFallColour);
    default: return QColor(Qt::black);
    }
}

bool StandsOut(Field f) { return f == Field::Text21 || f == Field::Text22; }

QTableWidgetItem *Item(const QString &text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// A difference as shown: signed, coloured, and said in words to a screen reader.
void ShowDifference(QTableWidgetItem *item, const std::string &difference)
{
    const report::Change change = report::ChangeOf(difference);
    item->setText(LeftToRight(report::SignedDifference(difference)));
    item->setForeground(ChangeColour(change));
    const QString words = change == report::Change::Unknown
                              ? report::ChangeWord(change)
                              : QStringLiteral("%1 %2").arg(report::ChangeWord(change), report::SignedDifference(difference));
    item->setData(Qt::AccessibleTextRole, words);
    item->setToolTip(RightToLeft(words));
}

void ShowDifference(QLabel *label, const std::string &difference)
{
    const report::Change change = report::ChangeOf(difference);
    label->setText(LeftToRight(report::SignedDifference(difference)));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, ChangeColour(change));
    label->setPalette(colours);
    label->setAccessibleDescription(report::ChangeWord(change));
}

QTableWidget *Table(int rows, const QStringList &columns, QWidget *parent)
{
    auto *table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false); // Tab leaves the table; the arrows move inside it
    table->setWordWrap(false);
    table->setFont(WindowFont(kLinePoints, true));
    table->horizontalHeader()->setFont(WindowFont(kLinePoints, true));
    table->verticalHeader()->hide();
    // Rows as high as the ink of Arabic text and digits, not the font's
    // whole line height, so that all the lines of the slip stay in view.
    const int row = table->fontMetrics().boundingRect(QStringLiteral("الضريبة على الدخل IRG 0123456789")).height() + 4;
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumSectionSize(row); // first: the default is held above the minimum
    table->verticalHeader()->setDefaultSectionSize(row);
    return table;
}

// A table tall enough for all its rows, without a scroll bar.
void FitRows(QTableWidget *table)
{
    const int height = table->horizontalHeader()->sizeHint().height() +
                       table->rowCount() * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    table->setMinimumHeight(height);
    table->setMaximumHeight(height);
}

QLabel *ValueLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

CompareWindow::CompareWindow(Form1 &main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("مقارنة"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(WindowFont());
    setWindowIcon(main.windowIcon());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(kWindowColour));
    setPalette(background);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("CompareMessage"));
    message_->setAccessibleName(QStringLiteral("رسالة الحساب"));
    message_->setWordWrap(true);
    message_->setFont(WindowFont(kTablePoints, true));
    QPalette red = message_->palette();
    red.setColor(QPalette::WindowText, QColor(kMessageColour));
    message_->setPalette(red);
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
    const auto makeAction = [&](const QString &caption, const QString &title, const QKeySequence &keys,
                               const char *name) {
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
    connect(pdf_, &QAction::triggered, this, &CompareWindow::askPdf);
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

    other_->setSituation(SituationOf(main_));
    connect(other_, &SituationEditor::changed, this, &CompareWindow::refresh);
    connect(months_, &QSpinBox::valueChanged, this, &CompareWindow::showBackPay);
    followMainWindow();
    refresh();
    resize(kWidth, kHeight);
}

CompareWindow::~CompareWindow() = default;

CompareWindow *CompareWindow::Open(Form1 &main)
{
    auto *window = main.findChild<CompareWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new CompareWindow(main);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

paycalc::Situation CompareWindow::SituationOf(const Form1 &main)
{
    paycalc::Situation s;
    for (int list = 0; list < paycalc::kComboCount; ++list) s.SetListPosition(list, main.combo(list)->currentIndex());
    s.mutual = main.check1()->isChecked();
    for (Field field : {Field::Text10, Field::Text11, Field::Text20, Field::Text23})
        s.Typed(field) = main.text(field)->text().toStdString();
    return s;
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
    for (Field field : {Field::Text10, Field::Text11, Field::Text20, Field::Text23})
        connect(main_.text(field), &QLineEdit::textChanged, this, &CompareWindow::refresh);
}

QWidget *CompareWindow::buildCompareTab()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(2, 4, 2, 2);
    row->setSpacing(6);

    // Right: the second situation, and a way back to the current one.
    auto *right = new QVBoxLayout;
    other_ = new SituationEditor(QStringLiteral("الوضعية الجديدة"), page);
    other_->setObjectName(QStringLiteral("OtherSituation"));
    other_->setFont(WindowFont(kTablePoints, true));
    other_->setMaximumWidth(kSideWidth);
    right->addWidget(other_);
    refill_ = new QPushButton(QStringLiteral("ملء بالوضعية الحالية"), page);
    refill_->setObjectName(QStringLiteral("RefillButton"));
    refill_->setAccessibleName(QStringLiteral("ملء الوضعية الجديدة بالوضعية الحالية"));
    refill_->setAutoDefault(false);
    connect(refill_, &QPushButton::clicked, this, &CompareWindow::refill);
    refill_->setMaximumWidth(kSideWidth);
    right->addWidget(refill_);
    right->addStretch(1);
    row->addLayout(right);

    // Between them: every line, after, difference, before.
    lines_ = Table(static_cast<int>(report::ComparedLines().size()),
                   {QStringLiteral("البند"), QStringLiteral("الجديدة"), QStringLiteral("الفرق"), QStringLiteral("الحالية")},
                   page);
    lines_->setObjectName(QStringLiteral("CompareLines"));
    lines_->setAccessibleName(QStringLiteral("بنود الكشف في الوضعيتين والفرق بينهما"));
    lines_->setAccessibleDescription(QStringLiteral("الفرق هو مبلغ الوضعية الجديدة ناقص مبلغ الوضعية الحالية"));
    int r = 0;
    for (Field f : report::ComparedLines()) {
        auto *title = Item(report::LineTitle(f), Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        title->setToolTip(report::LineTitle(f));
        lines_->setItem(r, kTitleColumn, title);
        for (int column : {kAfterColumn, kDifferenceColumn, kBeforeColumn}) {
            QTableWidgetItem *item = Item(QString());
            if (StandsOut(f)) item->setBackground(QColor(kResultColour));
            lines_->setItem(r, column, item);
        }
        if (StandsOut(f)) title->setBackground(QColor(kResultColour));
        ++r;
    }
    QHeaderView *header = lines_->horizontalHeader();
    header->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    for (int column : {kAfterColumn, kDifferenceColumn, kBeforeColumn}) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        lines_->setColumnWidth(column, lines_->fontMetrics().horizontalAdvance(QStringLiteral("-000000.00")) + 12);
    }
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitRows(lines_);
    row->addWidget(lines_, 1);

    // Left: the current situation as the pay-slip window holds it, then the back pay.
    auto *left = new QVBoxLayout;
    auto *current = new QGroupBox(QStringLiteral("الوضعية الحالية (نافذة الكشف)"), page);
    current->setFont(WindowFont(kTablePoints, true));
    auto *grid = new QGridLayout(current);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    // Two inputs a row, but the post, a long title, takes a row of its own.
    const QList<report::SituationRow> rows = report::SituationRows(paycalc::Situation{});
    int gridRow = 0;
    int column = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const bool wide = i == kPostRow;
        if (wide && column != 0) {
            ++gridRow;
            column = 0;
        }
        auto *label = new QLabel(rows[i].label + QStringLiteral(" :"), current);
        QLabel *value = ValueLabel(current, rows[i].label);
        value->setObjectName(QStringLiteral("Current%1").arg(i));
        value->setFrameShape(QFrame::NoFrame);
        value->setWordWrap(wide);
        grid->addWidget(label, gridRow, column);
        grid->addWidget(value, gridRow, column + 1, 1, wide ? 3 : 1);
        currentValues_ << value;
        column += wide ? 4 : 2;
        if (column >= 4) {
            ++gridRow;
            column = 0;
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    current->setMaximumWidth(kCurrentWidth);
    left->addWidget(current);

    auto *back = new QGroupBox(QStringLiteral("المخلفات (من الحالية إلى الجديدة)"), page);
    back->setFont(WindowFont(kTablePoints, true));
    auto *form = new QGridLayout(back);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    months_ = new QSpinBox(back);
    months_->setObjectName(QStringLiteral("Months"));
    months_->setRange(1, paycalc::kMaxBackPayMonths);
    months_->setValue(kDefaultMonths);
    months_->setAccessibleName(QStringLiteral("عدد الأشهر"));
    months_->setAlignment(Qt::AlignCenter);
    auto *monthsLabel = new QLabel(QStringLiteral("عدد الأشهر :"), back);
    monthsLabel->setBuddy(months_);
    form->addWidget(monthsLabel, 0, 0);
    form->addWidget(months_, 0, 1);
    backMonthly_ = ValueLabel(back, QStringLiteral("فرق الرواتب الشهرية"));
    backMonthly_->setObjectName(QStringLiteral("BackPayMonthly"));
    backQuarters_ = new QLabel(back);
    backBonus_ = ValueLabel(back, QStringLiteral("فرق المردودية"));
    backBonus_->setObjectName(QStringLiteral("BackPayBonus"));
    backTotal_ = ValueLabel(back, QStringLiteral("مجموع المخلفات"));
    backTotal_->setObjectName(QStringLiteral("BackPayTotal"));
    QPalette result = backTotal_->palette();
    result.setColor(QPalette::Window, QColor(kResultColour));
    backTotal_->setPalette(result);
    form->addWidget(new QLabel(QStringLiteral("الرواتب الشهرية :"), back), 1, 0);
    form->addWidget(backMonthly_, 1, 1);
    form->addWidget(backQuarters_, 2, 0);
    form->addWidget(backBonus_, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("المجموع :"), back), 3, 0);
    form->addWidget(backTotal_, 3, 1);
    backNote_ = new QLabel(report::BackPayNote(), back);
    backNote_->setObjectName(QStringLiteral("BackPayNote"));
    backNote_->setWordWrap(true);
    backNote_->setFont(WindowFont(9, false));
    form->addWidget(backNote_, 4, 0, 1, 2);
    back->setMaximumWidth(kCurrentWidth);
    left->addWidget(back);
    left->addStretch(1);
    row->addLayout(left);
    return page;
}

QWidget *CompareWindow::buildLadderTab()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(2, 4, 2, 2);
    ladderTitle_ = new QLabel(page);
    ladderTitle_->setObjectName(QStringLiteral("LadderTitle"));
    column->addWidget(ladderTitle_);
    ladder_ = Table(13, report::LadderColumns(), page);
    ladder_->setObjectName(QStringLiteral("LadderTable"));
    ladder_->setAccessibleName(QStringLiteral("سلم الدرجات للوضعية الحالية"));
    ladder_->setAccessibleDescription(QStringLiteral("الدرجة الحالية معلمة بكلمة الحالية"));
    for (int r = 0; r < ladder_->rowCount(); ++r)
        for (int c = 0; c < ladder_->columnCount(); ++c) ladder_->setItem(r, c, Item(QString()));
    ladder_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FitRows(ladder_);
    column->addWidget(ladder_);
    above_ = new QLabel(page);
    above_->setObjectName(QStringLiteral("CategoryAbove"));
    above_->setAccessibleName(QStringLiteral("الدرجة نفسها في الصنف الأعلى"));
    above_->setWordWrap(true);
    column->addWidget(above_);
    column->addStretch(1);
    return page;
}

QWidget *CompareWindow::buildCheckTab()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(2, 4, 2, 2);

    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *inner = new QWidget(scroll);
    inner->setFont(WindowFont(kLinePoints, true));
    const QFontMetrics metrics(inner->font());
    const int lineHeight = metrics.boundingRect(QStringLiteral("الضريبة على الدخل IRG 0123456789")).height() + 4;
    const int titleWidth = metrics.horizontalAdvance(QStringLiteral("الاجر الخاضع للضمان الاجتماعي"));
    auto *grid = new QGridLayout(inner);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setVerticalSpacing(0);
    const QStringList titles{QStringLiteral("البند"), QStringLiteral("مبلغنا"), QStringLiteral("المبلغ الرسمي"),
                             QStringLiteral("الفرق"), QStringLiteral("النتيجة")};
    for (int c = 0; c < titles.size(); ++c) {
        auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(titles[c]), inner);
        title->setAlignment(Qt::AlignCenter);
        grid->addWidget(title, 0, c);
    }
    int r = 1;
    QWidget *previous = nullptr;
    for (Field f : report::ComparedLines()) {
        const QString title = report::LineTitle(f);
        // Long captions are shortened; the whole caption is the tooltip.
        auto *label = new QLabel(metrics.elidedText(title, Qt::ElideRight, titleWidth), inner);
        label->setToolTip(title);
        OfficialRow line;
        line.ours = ValueLabel(inner, QStringLiteral("مبلغنا: %1").arg(title));
        line.ours->setFrameShape(QFrame::NoFrame);
        line.typed = new FilteredLineEdit(&Form1::gWriteOnleNumber, inner);
        line.typed->setObjectName(QStringLiteral("Official%1").arg(Utf8(paycalc::FieldName(f))));
        line.typed->setAccessibleName(QStringLiteral("المبلغ الرسمي: %1").arg(title));
        line.typed->setAlignment(Qt::AlignCenter);
        line.typed->setFixedSize(metrics.horizontalAdvance(QStringLiteral("0000000.00")) + 16, lineHeight);
        line.difference = ValueLabel(inner, QStringLiteral("الفرق: %1").arg(title));
        line.difference->setFrameShape(QFrame::NoFrame);
        line.verdict = ValueLabel(inner, QStringLiteral("النتيجة: %1").arg(title));
        line.verdict->setFrameShape(QFrame::NoFrame);
        // Room for the longest verdict and difference, so that nothing moves as they appear.
        line.verdict->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("✗ غير مطابق")) + 8);
        line.difference->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("-0000000.00")) + 8);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        label->setBuddy(line.typed);
        grid->addWidget(label, r, 0);
        grid->addWidget(line.ours, r, 1);
        grid->addWidget(line.typed, r, 2);
        grid->addWidget(line.difference, r, 3);
        grid->addWidget(line.verdict, r, 4);
        connect(line.typed, &QLineEdit::textChanged, this, &CompareWindow::showCheck);
        if (previous) setTabOrder(previous, line.typed);
        previous = line.typed;
        official_[f] = line;
        ++r;
    }
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(0, 1);
    scroll->setWidget(inner);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    row->addWidget(scroll, 1);

    auto *side = new QVBoxLayout;
    checkSummary_ = new QLabel(page);
    checkSummary_->setObjectName(QStringLiteral("CheckSummary"));
    checkSummary_->setAccessibleName(QStringLiteral("نتيجة المراجعة"));
    checkSummary_->setWordWrap(true);
    checkSummary_->setFont(WindowFont(kTablePoints, true));
    side->addWidget(checkSummary_);
    explanations_ = new QTextBrowser(page);
    explanations_->setObjectName(QStringLiteral("CheckExplanations"));
    explanations_->setAccessibleName(QStringLiteral("شرح حسابنا للبنود غير المطابقة"));
    explanations_->setFont(WindowFont(kTablePoints, false));
    explanations_->setLayoutDirection(Qt::RightToLeft);
    side->addWidget(explanations_, 1);
    explanations_->setMaximumWidth(kSideWidth);
    checkSummary_->setMaximumWidth(kSideWidth);
    row->addLayout(side);
    return page;
}

void CompareWindow::refill()
{
    other_->setSituation(SituationOf(main_));
}

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
    const paycalc::Situation current = SituationOf(main_);
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
        paycalc::MemoryForm form;
        paycalc::FillForm(form, slip->situation);
        problem += (slip == &comparison_->before ? QStringLiteral("الوضعية الحالية: ") : QStringLiteral("الوضعية الجديدة: ")) +
                   RecalcMessage(*slip->error, form) + QLatin1Char(' ');
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

void CompareWindow::showLines()
{
    if (!comparison_) return;
    int r = 0;
    for (Field f : report::ComparedLines()) {
        const paycalc::LineDifference &line = comparison_->Line(f);
        lines_->item(r, kAfterColumn)->setText(Shown(line.after));
        lines_->item(r, kBeforeColumn)->setText(Shown(line.before));
        ShowDifference(lines_->item(r, kDifferenceColumn), line.difference);
        ++r;
    }
}

std::optional<paycalc::BackPay> CompareWindow::backPay() const
{
    if (!comparison_ || !comparison_->ok()) return std::nullopt;
    try {
        return paycalc::ComputeBackPay(*comparison_, months_->value());
    } catch (const std::exception &) {
        return std::nullopt; // a product beyond any pay
    }
}

void CompareWindow::showBackPay()
{
    const std::optional<paycalc::BackPay> pay = backPay();
    const int quarters = months_->value() / 3;
    backQuarters_->setText(QStringLiteral("المردودية (%1 ثلاثيات) :").arg(quarters));
    backBonus_->setAccessibleName(QStringLiteral("فرق المردودية عن %1 ثلاثيات كاملة").arg(quarters));
    if (!pay) {
        for (QLabel *label : {backMonthly_, backBonus_, backTotal_}) label->setText(QStringLiteral("—"));
        return;
    }
    ShowDifference(backMonthly_, pay->monthly);
    ShowDifference(backBonus_, pay->bonus);
    ShowDifference(backTotal_, pay->total);
    backMonthly_->setToolTip(RightToLeft(QStringLiteral("%1 × %2").arg(LeftToRight(report::SignedDifference(pay->netDifference))).arg(pay->months)));
    backBonus_->setToolTip(RightToLeft(QStringLiteral("%1 × %2").arg(LeftToRight(report::SignedDifference(pay->bonusDifference))).arg(pay->quarters)));
}

void CompareWindow::showLadder()
{
    if (!ladderData_) return;
    const paycalc::Ladder &ladder = *ladderData_;
    ladderTitle_->setText(report::LadderTitle(ladder) + QStringLiteral(" — الدرجة الحالية %1").arg(ladder.situation.echelon));
    QFont plain = ladder_->font();
    QFont bold = plain;
    bold.setUnderline(true);
    for (const paycalc::LadderStep &step : ladder.steps) {
        const int r = step.echelon;
        const bool current = report::IsCurrentEchelon(ladder, step);
        const QString texts[] = {report::EchelonLabel(ladder, step), Shown(step.slip.Text(Field::Text21)),
                                 Shown(step.slip.Text(Field::Text3)), Shown(step.slip.Text(Field::Text15)),
                                 Shown(step.slip.Text(Field::Text22))};
        for (int c = 0; c < 5; ++c) {
            QTableWidgetItem *item = ladder_->item(r, c);
            item->setText(texts[c]);
            item->setFont(current ? bold : plain);
            item->setBackground(current ? QBrush(QColor(kCurrentColour)) : QBrush());
        }
        QTableWidgetItem *stepItem = ladder_->item(r, 5);
        if (step.netStep.empty()) {
            stepItem->setText(QStringLiteral("—"));
            stepItem->setForeground(QColor(Qt::black));
            stepItem->setData(Qt::AccessibleTextRole, QVariant());
        } else {
            ShowDifference(stepItem, step.netStep);
        }
        stepItem->setFont(current ? bold : plain);
        stepItem->setBackground(current ? QBrush(QColor(kCurrentColour)) : QBrush());
        if (current) ladder_->item(r, 0)->setData(Qt::AccessibleTextRole, QStringLiteral("الدرجة %1، الدرجة الحالية").arg(r));
        else ladder_->item(r, 0)->setData(Qt::AccessibleTextRole, QVariant());
    }
    if (ladder.categoryAbove)
        above_->setText(report::CategoryAboveText(ladder));
    else
        above_->setText(QStringLiteral("لا صنف فوق الصنف %1.").arg(ladder.situation.category));
}

void CompareWindow::showCheck()
{
    if (!comparison_) return;
    std::vector<paycalc::OfficialAmount> typed;
    for (Field f : report::ComparedLines()) {
        const OfficialRow &line = official_.at(f);
        line.ours->setText(Shown(comparison_->before.Text(f)));
        const QString text = line.typed->text().trimmed();
        if (!text.isEmpty()) typed.push_back({f, text.toStdString()});
        line.difference->clear();
        line.verdict->clear();
        line.verdict->setToolTip(QString());
    }
    check_.reset();
    explanations_->clear();
    if (typed.empty()) {
        checkSummary_->setText(QStringLiteral("اكتب مبالغ كشفك الرسمي في عمود «المبلغ الرسمي»: "
                                              "يقارن كل بند بمبلغنا للوضعية الحالية، وتشرح هنا البنود غير المطابقة."));
        return;
    }
    check_ = paycalc::CheckOfficial(current_, typed);
    QString html = QStringLiteral("<html><body dir=\"rtl\">");
    int wrong = 0;
    for (const paycalc::CheckedLine &checked : check_->lines) {
        const OfficialRow &line = official_.at(checked.field);
        ShowDifference(line.difference, checked.difference);
        line.verdict->setText(checked.agrees ? QStringLiteral("✓ ") + report::AgreementWord(true)
                                             : QStringLiteral("✗ ") + report::AgreementWord(false));
        QPalette colours = line.verdict->palette();
        colours.setColor(QPalette::WindowText, checked.agrees ? QColor(kRiseColour) : QColor(kFallColour));
        line.verdict->setPalette(colours);
        if (checked.agrees) continue;
        ++wrong;
        line.verdict->setToolTip(Utf8(checked.explanation));
        html += QStringLiteral("<div><b>%1</b>: مبلغنا %2، المبلغ الرسمي %3</div>%4<hr/>")
                    .arg(report::LineTitle(checked.field).toHtmlEscaped(), Shown(checked.ours).toHtmlEscaped(),
                         LeftToRight(Utf8(checked.theirs)).toHtmlEscaped(), report::ExplanationHtml(checked.explanation));
    }
    explanations_->setHtml(html + QStringLiteral("</body></html>"));
    checkSummary_->setText(wrong == 0 ? QStringLiteral("كل المبالغ المكتوبة (%1) مطابقة لحسابنا.").arg(check_->lines.size())
                                      : QStringLiteral("%1 من %2 بنود غير مطابقة؛ شرح حسابنا لكل منها:")
                                            .arg(wrong)
                                            .arg(check_->lines.size()));
}

QLabel *CompareWindow::currentValue(int row) const { return currentValues_.value(row); }

QLineEdit *CompareWindow::officialField(Field field) const
{
    auto it = official_.find(field);
    return it == official_.end() ? nullptr : it->second.typed;
}

QLabel *CompareWindow::verdict(Field field) const
{
    auto it = official_.find(field);
    return it == official_.end() ? nullptr : it->second.verdict;
}

QLabel *CompareWindow::officialDifference(Field field) const
{
    auto it = official_.find(field);
    return it == official_.end() ? nullptr : it->second.difference;
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

void CompareWindow::askPdf()
{
    if (!document()) return;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString path = QFileDialog::getSaveFileName(this, pdf_->whatsThis(), QDir(folder).filePath(QStringLiteral("مقارنة.pdf")),
                                                      QStringLiteral("ملفات PDF (*.pdf)"));
    if (path.isEmpty()) return; // the user changed their mind
    QString error;
    if (savePdf(path, &error)) return;
    QMessageBox warning(QMessageBox::Warning, QStringLiteral("تعذر الحفظ"), error, QMessageBox::Ok, this);
    warning.setLayoutDirection(Qt::RightToLeft);
    warning.button(QMessageBox::Ok)->setText(QStringLiteral("حسنا"));
    warning.exec();
}

} // namespace paywindow
