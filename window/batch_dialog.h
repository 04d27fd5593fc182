// "كشوف مجمعة": the slips of a whole staff list from the window: the staff
// file and its first rows, the outputs, a run with progress and a cancel that
// leaves no file behind, then the refused rows and the totals.
// No batch logic here: reading, refusing, computing and writing are all
// batch::Execute's, on a thread of its own; the dialog chooses, runs and shows.
#pragma once

#include <QDialog>

#include <atomic>

#include "batch/batch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace paywindow {

class BatchDialog final : public QDialog {
    Q_OBJECT

public:
    explicit BatchDialog(QWidget *parent = nullptr);
    ~BatchDialog() override;

    // Reads the staff file's columns and first rows into the preview. Does
    // nothing while a run is in progress: the run keeps the file it started on.
    void setStaffFile(const QString &path);

    QLineEdit *staffFile() const { return staff_; }
    QTableWidget *preview() const { return preview_; }
    QLabel *columnsFound() const { return columns_; }
    // The columns left out and their defaults; hidden when none is.
    QLabel *defaultedColumns() const { return defaults_; }
    QCheckBox *tableOutput() const { return tableBox_; }
    QLineEdit *tableFile() const { return tableFile_; }
    QCheckBox *pdfOutput() const { return pdfBox_; }
    QLineEdit *pdfFile() const { return pdfFile_; }
    QCheckBox *totalsOutput() const { return totalsBox_; }
    QCheckBox *asTyped() const { return asTyped_; }
    QPushButton *runButton() const { return run_; }
    QPushButton *cancelButton() const { return cancel_; }
    QLabel *status() const { return status_; }
    // Columns: line, column, text, message.
    QTableWidget *refusedRows() const { return refused_; }
    // Columns: the line's title, its readable name, the total.
    QTableWidget *totals() const { return totals_; }

    bool isRunning() const { return thread_ != nullptr; }
    const batch::Result &lastResult() const { return result_; }

public slots:
    void start();
    void cancel();

signals:
    void runFinished(int exitCode); // the run is over: its exit status (1 when stopped)

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void chooseStaffFile();
    void showProgress(quint64 done, quint64 total, double seconds);
    void showResult();
    // Every choice of the dialog is locked while a run is in progress; only
    // the cancel button (and closing, which cancels) stays usable.
    void updateButtons();
    // Cancels a run and waits for it to stop.
    void stopRun();

    QLineEdit *staff_ = nullptr;
    QPushButton *browse_ = nullptr;
    QTableWidget *preview_ = nullptr;
    QLabel *columns_ = nullptr;
    QLabel *defaults_ = nullptr;
    QCheckBox *tableBox_ = nullptr;
    QLineEdit *tableFile_ = nullptr;
    QPushButton *chooseTable_ = nullptr;
    QCheckBox *pdfBox_ = nullptr;
    QLineEdit *pdfFile_ = nullptr;
    QPushButton *choosePdf_ = nullptr;
    QCheckBox *totalsBox_ = nullptr;
    QCheckBox *asTyped_ = nullptr;
    QPushButton *run_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QLabel *status_ = nullptr;
    QTableWidget *refused_ = nullptr;
    QTableWidget *totals_ = nullptr;

    QThread *thread_ = nullptr;
    std::atomic<bool> cancelRequested_{false};
    // The choices as the dialog last read them, for the GUI thread only: a
    // run works on its own copy, taken when it starts.
    batch::Options options_;
    batch::Result result_;
    bool previewOk_ = false;
};

} // namespace paywindow
