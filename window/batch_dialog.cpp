#include "window/batch_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <initializer_list>

#include "paycalc/fields.h"
#include "paycalc/situation.h"
#include "paydata/text_rules.h"
#include "report/text_direction.h"

namespace paywindow {

namespace {

constexpr int kPreviewRows = 10;

using report::LeftToRight;
using report::Utf8;

// The Arabic wording of a message; the English one, left to right, should a
// message come without it.
QString Arabic(const std::string &arabic, const std::string &english)
{
    return arabic.empty() ? LeftToRight(Utf8(english)) : Utf8(arabic);
}

QTableWidget *NewTable(QWidget *parent, const QStringList &headers, const char *name, const QString &accessible)
{
    auto *table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessible);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setTabKeyNavigation(false); // Tab leaves the table for the next control
    return table;
}

QTableWidgetItem *Cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

BatchDialog::BatchDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchDialog"));
    setWindowTitle(QStringLiteral("كشوف مجمعة"));
    setLayoutDirection(Qt::RightToLeft);
    setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(this);

    // The staff file and what was found in it.
    auto *fileRow = new QHBoxLayout;
    auto *fileLabel = new QLabel(QStringLiteral("ملف الموظفين (CSV) :"), this);
    staff_ = new QLineEdit(this);
    staff_->setObjectName(QStringLiteral("StaffFile"));
    staff_->setAccessibleName(QStringLiteral("ملف الموظفين"));
    fileLabel->setBuddy(staff_);
    browse_ = new QPushButton(QStringLiteral("اختيار…"), this);
    browse_->setObjectName(QStringLiteral("ChooseStaffFile"));
    browse_->setAccessibleName(QStringLiteral("اختيار ملف الموظفين"));
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(staff_, 1);
    fileRow->addWidget(browse_);
    layout->addLayout(fileRow);

    // What the dialog reports, in words that can be selected and copied.
    const auto report = [this, layout](const char *name) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        return label;
    };
    columns_ = report("ColumnsFound");
    // The situation columns the file leaves out and the default each row
    // takes instead, shown before a run so that it can still be left undone.
    defaults_ = report("DefaultedColumns");
    defaults_->setVisible(false);
    preview_ = NewTable(this, {}, "Preview", QStringLiteral("الصفوف الأولى من الملف"));
    preview_->setMinimumHeight(150);
    layout->addWidget(preview_, 1);

    // The outputs.
    auto *outputs = new QGroupBox(QStringLiteral("المخرجات"), this);
    auto *grid = new QGridLayout(outputs);
    // An output: its box, its file and a button that asks for the file.
    auto fileChoice = [&](int row, QCheckBox *&box, QLineEdit *&edit, const QString &caption, const char *name,
                          const QString &title, const QString &filter) {
        box = new QCheckBox(caption, outputs);
        box->setObjectName(QLatin1String(name) + QStringLiteral("Output"));
        edit = new QLineEdit(outputs);
        edit->setObjectName(QLatin1String(name) + QStringLiteral("File"));
        edit->setAccessibleName(QStringLiteral("ملف ") + title);
        auto *button = new QPushButton(QStringLiteral("…"), outputs);
        button->setObjectName(QStringLiteral("Choose") + QLatin1String(name) + QStringLiteral("File"));
        button->setAccessibleName(QStringLiteral("اختيار ملف ") + title);
        grid->addWidget(box, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(button, row, 2);
        connect(box, &QCheckBox::toggled, this, &BatchDialog::updateButtons);
        connect(button, &QPushButton::clicked, this, [this, edit, title, filter] {
            if (isRunning()) return;
            const QString path = QFileDialog::getSaveFileName(this, title, edit->text(), filter);
            if (!path.isEmpty()) edit->setText(path);
        });
        return button;
    };
    chooseTable_ = fileChoice(0, tableBox_, tableFile_, QStringLiteral("جدول الكشوف (CSV أو xlsx)"), "Table",
                              QStringLiteral("جدول الكشوف"), QStringLiteral("xlsx (*.xlsx);;CSV (*.csv)"));
    choosePdf_ = fileChoice(1, pdfBox_, pdfFile_, QStringLiteral("الكشوف المطبوعة (PDF)"), "Pdf",
                            QStringLiteral("الكشوف المطبوعة"), QStringLiteral("PDF (*.pdf)"));
    totalsBox_ = new QCheckBox(QStringLiteral("المجاميع"), outputs);
    totalsBox_->setObjectName(QStringLiteral("TotalsOutput"));
    totalsBox_->setChecked(true);
    grid->addWidget(totalsBox_, 2, 0);
    asTyped_ = new QCheckBox(QStringLiteral("قراءة المبالغ كما تكتب في النافذة"), outputs);
    asTyped_->setObjectName(QStringLiteral("AsTyped"));
    grid->addWidget(asTyped_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addWidget(outputs);

    // Running.
    auto *runRow = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("تشغيل"), this);
    run_->setObjectName(QStringLiteral("RunButton"));
    run_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("إيقاف"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    auto *close = new QPushButton(QStringLiteral("إغلاق"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setAccessibleName(QStringLiteral("تقدم الحساب"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    runRow->addWidget(run_);
    runRow->addWidget(cancel_);
    runRow->addWidget(progress_, 1);
    runRow->addWidget(close);
    layout->addLayout(runRow);
    status_ = report("Status");

    // The results.
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("Results"));
    refused_ = NewTable(
        tabs, {QStringLiteral("السطر"), QStringLiteral("العمود"), QStringLiteral("النص"), QStringLiteral("السبب")},
        "RefusedRows", QStringLiteral("الصفوف المرفوضة"));
    totals_ = NewTable(tabs, {QStringLiteral("البند"), QStringLiteral("الاسم"), QStringLiteral("المجموع")}, "Totals",
                       QStringLiteral("المجاميع"));
    tabs->addTab(refused_, QStringLiteral("الصفوف المرفوضة"));
    tabs->addTab(totals_, QStringLiteral("المجاميع"));
    layout->addWidget(tabs, 1);

    connect(browse_, &QPushButton::clicked, this, &BatchDialog::chooseStaffFile);
    connect(staff_, &QLineEdit::editingFinished, this, [this] {
        if (!isRunning() && staff_->text().toStdString() != options_.input) setStaffFile(staff_->text());
    });
    connect(run_, &QPushButton::clicked, this, &BatchDialog::start);
    connect(cancel_, &QPushButton::clicked, this, &BatchDialog::cancel);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 640);
    updateButtons();
}

BatchDialog::~BatchDialog()
{
    stopRun();
    delete thread_; // its finished signal will not reach a dialog being destroyed
}

void BatchDialog::setStaffFile(const QString &path)
{
    if (isRunning()) return;
    staff_->setText(path);
    options_.input = path.toStdString();
    preview_->clear();
    preview_->setRowCount(0);
    preview_->setColumnCount(0);
    defaults_->clear();
    defaults_->setVisible(false);
    // A file name is typed text too: no control character in it.
    if (auto found = paydata::FindControlCharacter(options_.input, paydata::LineBreaks::Refused)) {
        previewOk_ = false;
        columns_->setText(QStringLiteral("في اسم الملف محرف التحكم %1 في الموضع %2")
                              .arg(Utf8(paydata::CodeName(found->code)))
                              .arg(found->position));
        updateButtons();
        return;
    }
    const batch::Preview p = batch::ReadPreview(options_.input, kPreviewRows);
    previewOk_ = p.ok;
    if (!p.ok) {
        columns_->setText(Arabic(p.arabicError, p.error));
        updateButtons();
        return;
    }
    QStringList found;
    QStringList headers;
    for (std::size_t i = 0; i < p.header.size(); ++i) {
        headers << Utf8(p.header[i]);
        found << QStringLiteral("%1 (%2)").arg(Utf8(p.header[i]), Utf8(p.arabicRoles[i]));
    }
    columns_->setText(QStringLiteral("الأعمدة : ") + found.join(QStringLiteral("، ")));
    if (!p.defaulted.empty()) {
        QStringList notes;
        for (const batch::Message &note : p.defaulted) notes << Arabic(note.arabic, note.english);
        defaults_->setText(QStringLiteral("قيم مفترضة : ") + notes.join(QStringLiteral("؛ ")));
        defaults_->setVisible(true);
    }
    preview_->setColumnCount(static_cast<int>(headers.size()) + 1);
    preview_->setHorizontalHeaderLabels(QStringList{QStringLiteral("السطر")} + headers);
    preview_->setRowCount(static_cast<int>(p.rows.size()));
    for (std::size_t r = 0; r < p.rows.size(); ++r) {
        const int row = static_cast<int>(r);
        preview_->setItem(row, 0, Cell(QString::number(p.lines[r])));
        for (std::size_t c = 0; c < p.rows[r].size() && c < static_cast<std::size_t>(headers.size()); ++c)
            preview_->setItem(row, static_cast<int>(c) + 1, Cell(Utf8(p.rows[r][c])));
    }
    // Outputs beside the staff file by default.
    const QString stem = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? path.chopped(4) : path;
    if (tableFile_->text().isEmpty()) tableFile_->setText(stem + QStringLiteral("-slips.xlsx"));
    if (pdfFile_->text().isEmpty()) pdfFile_->setText(stem + QStringLiteral("-slips.pdf"));
    updateButtons();
}

void BatchDialog::chooseStaffFile()
{
    if (isRunning()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("ملف الموظفين"), staff_->text(),
                                                      QStringLiteral("CSV (*.csv);;* (*)"));
    if (!path.isEmpty()) setStaffFile(path);
}

void BatchDialog::updateButtons()
{
    const bool running = isRunning();
    run_->setEnabled(!running && previewOk_);
    cancel_->setEnabled(running);
    for (QWidget *choice : std::initializer_list<QWidget *>{staff_, browse_, tableBox_, pdfBox_, totalsBox_, asTyped_})
        choice->setEnabled(!running);
    // A file name counts only for an output that is chosen.
    tableFile_->setEnabled(!running && tableBox_->isChecked());
    chooseTable_->setEnabled(!running && tableBox_->isChecked());
    pdfFile_->setEnabled(!running && pdfBox_->isChecked());
    choosePdf_->setEnabled(!running && pdfBox_->isChecked());
}

void BatchDialog::start()
{
    if (isRunning() || !previewOk_) return;
    options_.input = staff_->text().toStdString();
    options_.out = tableBox_->isChecked() ? tableFile_->text().toStdString() : std::string();
    options_.pdf = pdfBox_->isChecked() ? pdfFile_->text().toStdString() : std::string();
    options_.summary = totalsBox_->isChecked();
    options_.asTyped = asTyped_->isChecked();
    options_.json = false;
    if ((tableBox_->isChecked() && options_.out.empty()) || (pdfBox_->isChecked() && options_.pdf.empty())) {
        status_->setText(QStringLiteral("اختر اسم الملف لكل مخرج محدد."));
        return;
    }
    // The outputs' names are typed text too: no control character in them.
    const std::pair<const std::string *, QString> outputs[] = {{&options_.out, QStringLiteral("جدول الكشوف")},
                                                               {&options_.pdf, QStringLiteral("الكشوف المطبوعة")}};
    for (const auto &[name, output] : outputs) {
        if (auto found = paydata::FindControlCharacter(*name, paydata::LineBreaks::Refused)) {
            status_->setText(QStringLiteral("في اسم ملف %1 محرف التحكم %2 في الموضع %3، صححه.")
                                 .arg(output, Utf8(paydata::CodeName(found->code)))
                                 .arg(found->position));
            return;
        }
    }
    refused_->setRowCount(0);
    totals_->setRowCount(0);
    progress_->setRange(0, 0); // busy until the first count comes
    status_->setText(QStringLiteral("جار الحساب…"));
    cancelRequested_ = false;

    // The run reads its own copy of the choices: nothing the dialog does
    // while it works can change what it reads.
    thread_ = QThread::create([this, options = options_] {
        batch::Hooks hooks;
        hooks.cancel = &cancelRequested_;
        hooks.progress = [this](const batch::Progress &p) {
            QMetaObject::invokeMethod(
                this, [this, p] { showProgress(p.done, p.total, p.seconds); }, Qt::QueuedConnection);
        };
        batch::Result result = batch::Execute(options, hooks);
        QMetaObject::invokeMethod(
            this, [this, r = std::move(result)]() mutable { result_ = std::move(r); }, Qt::QueuedConnection);
    });
    connect(thread_, &QThread::finished, this, [this] {
        thread_->deleteLater();
        thread_ = nullptr;
        showResult();
    });
    updateButtons();
    thread_->start();
}

void BatchDialog::cancel()
{
    if (!isRunning()) return;
    cancelRequested_ = true;
    status_->setText(QStringLiteral("جار الإيقاف…"));
}

void BatchDialog::showProgress(quint64 done, quint64 total, double seconds)
{
    if (!isRunning()) return;
    const int scale = total > 1000000 ? 1000 : 1; // a progress bar counts in int
    progress_->setRange(0, static_cast<int>(total / static_cast<quint64>(scale)));
    progress_->setValue(static_cast<int>(done / static_cast<quint64>(scale)));
    QString text = QStringLiteral("%1 من %2 صف").arg(done).arg(total);
    if (seconds > 0 && done > 0) {
        const double rate = static_cast<double>(done) / seconds;
        text += QStringLiteral("، %1 صف في الثانية").arg(static_cast<qint64>(rate));
        if (total > done)
            text += QStringLiteral("، بقي %1 ثانية").arg(static_cast<qint64>(static_cast<double>(total - done) / rate + 0.5));
    }
    status_->setText(text);
}

void BatchDialog::showResult()
{
    const batch::Result &r = result_;
    progress_->setRange(0, 1);
    progress_->setValue(r.exitCode == batch::kExitFailed ? 0 : 1);
    const batch::Counts &c = r.counts;
    QString text;
    if (r.cancelled) {
        text = QStringLiteral("أوقف الحساب: لم يكتب أي ملف.");
    } else if (r.exitCode == batch::kExitFailed) {
        text = QStringLiteral("تعذر الحساب، لم يكتب أي ملف: ") + Arabic(r.arabicError, r.error);
    } else {
        text = QStringLiteral("قرئ %1 صف: حسب %2، رفض %3، فارغ %4.").arg(c.read).arg(c.computed).arg(c.refused).arg(c.empty);
        if (!r.written.empty()) {
            QStringList files;
            for (const std::string &f : r.written) files << LeftToRight(Utf8(f));
            text += QStringLiteral(" كتبت الملفات: ") + files.join(QStringLiteral("، "));
        }
        if (r.refusalCount > r.refusals.size())
            text += QStringLiteral(" (تعرض أول %1 ملاحظة من %2)").arg(r.refusals.size()).arg(r.refusalCount);
        if (!r.recomputed.empty()) {
            QStringList names;
            for (const std::string &name : r.recomputed) names << QStringLiteral("«%1»").arg(Utf8(name));
            text += QStringLiteral(" الأعمدة %1 بنود كشف من حساب سابق: أعيد حسابها.").arg(names.join(QStringLiteral("، ")));
        }
    }
    status_->setText(text);

    refused_->setRowCount(static_cast<int>(r.refusals.size()));
    for (std::size_t i = 0; i < r.refusals.size(); ++i) {
        const batch::Refusal &f = r.refusals[i];
        const int row = static_cast<int>(i);
        refused_->setItem(row, 0, Cell(QString::number(f.line)));
        refused_->setItem(row, 1, Cell(Utf8(f.column)));
        refused_->setItem(row, 2, Cell(Utf8(f.text)));
        refused_->setItem(row, 3, Cell(Arabic(f.arabic, f.message)));
    }
    const bool haveTotals = !r.cancelled && r.exitCode != batch::kExitFailed && !r.totals[0].empty();
    totals_->setRowCount(haveTotals ? static_cast<int>(batch::kTableLines.size()) : 0);
    if (haveTotals) {
        for (std::size_t k = 0; k < batch::kTableLines.size(); ++k) {
            const paycalc::Field f = batch::kTableLines[k];
            const int row = static_cast<int>(k);
            totals_->setItem(row, 0, Cell(Utf8(paycalc::FieldTitle(f))));
            totals_->setItem(row, 1, Cell(Utf8(std::string(paycalc::LineName(f)))));
            // A total beyond the range of the sums is not a number.
            auto *amount = Cell(r.totals[k] == batch::kOverflowTotal ? QStringLiteral("يتجاوز حدود الحساب")
                                                                     : Utf8(r.totals[k]));
            amount->setTextAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
            totals_->setItem(row, 2, amount);
        }
    }
    updateButtons();
    emit runFinished(r.cancelled ? batch::kExitFailed : r.exitCode);
}

// Closing stops a run first; nothing it was writing is left behind.
void BatchDialog::stopRun()
{
    if (!thread_) return;
    cancelRequested_ = true;
    thread_->wait();
}

void BatchDialog::reject()
{
    stopRun();
    QDialog::reject();
}

void BatchDialog::closeEvent(QCloseEvent *event)
{
    stopRun();
    QDialog::closeEvent(event);
}

} // namespace paywindow
