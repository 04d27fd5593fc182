// The comparison window, "مقارنة": the pay-slip window's situation, followed
// live, against a second one with every line's difference; the back pay of a
// late change; the career ladder; the check of an official slip.
// No pay rule and no arithmetic here: a difference, a back pay or a ladder
// step is paycalc's, and the printed page is the report library's.
#pragma once

#include <map>
#include <optional>

#include <QAction>
#include <QWidget>

#include "paycalc/compare.h"
#include "report/compare_report.h"

class Form1;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTextBrowser;

namespace paywindow {

class SituationEditor;

class CompareWindow final : public QWidget {
    Q_OBJECT

public:
    // A window of its own, owned by `main`, deleted when closed.
    explicit CompareWindow(Form1 &main);

    // The tabs: "مقارنة", "سلم الدرجات", "مراجعة كشف رسمي".
    QTabWidget *tabs() const { return tabs_; }
    SituationEditor *other() const { return other_; }
    // One row per line of report::ComparedLines(); columns: line, the other
    // situation, the difference, the current situation.
    QTableWidget *linesTable() const { return lines_; }
    static constexpr int kTitleColumn = 0;
    static constexpr int kAfterColumn = 1;
    static constexpr int kDifferenceColumn = 2;
    static constexpr int kBeforeColumn = 3;
    // The current situation's inputs, in report::SituationRows order.
    QLabel *currentValue(int row) const { return currentValues_.value(row); }
    QSpinBox *monthsBox() const { return months_; }
    QLabel *backPayMonthly() const { return backMonthly_; }
    QLabel *backPayBonus() const { return backBonus_; }
    QLabel *backPayTotal() const { return backTotal_; }
    QLabel *backPayNote() const { return backNote_; }
    QLabel *message() const { return message_; }
    // Echelons 0..12; columns: echelon, net pay, main pay, income tax, bonus, step.
    QTableWidget *ladderTable() const { return ladder_; }
    QLabel *categoryAbove() const { return above_; }
    // The official slip: one typed field per line, its verdict and difference.
    QLineEdit *officialField(paycalc::Field field) const { return officialRow(field).typed; }
    QLabel *verdict(paycalc::Field field) const { return officialRow(field).verdict; }
    QLabel *officialDifference(paycalc::Field field) const { return officialRow(field).difference; }
    QTextBrowser *explanations() const { return explanations_; }
    QLabel *checkSummary() const { return checkSummary_; }

    QAction *printAction() const { return print_; } // Ctrl+P
    QAction *pdfAction() const { return pdf_; }     // Ctrl+S
    QAction *copyAction() const { return copy_; }   // Ctrl+Shift+C
    QPushButton *refillButton() const { return refill_; }

    // What the window shows, as computed at its last refresh.
    const std::optional<paycalc::Comparison> &comparison() const { return comparison_; }
    const std::optional<paycalc::Ladder> &ladder() const { return ladderData_; }
    std::optional<paycalc::BackPay> backPay() const;
    std::optional<paycalc::CheckReport> check() const { return check_; }
    int refreshCount() const { return refreshes_; }

    // The document printed, saved and copied; only while both slips are complete.
    std::optional<report::ComparisonDocument> document() const;
    bool printTo(QPrinter &printer) const;
    bool savePdf(const QString &path, QString *error = nullptr) const;
    bool copyComparison() const;

public slots:
    // Computes both situations again and shows every part of the window.
    void refresh();
    // Fills the second situation with the current one.
    void refill();

private:
    // In compare_tab.cpp, ladder_tab.cpp and check_tab.cpp.
    QWidget *buildCompareTab();
    QWidget *buildLadderTab();
    QWidget *buildCheckTab();
    void followMainWindow();
    void showLines();
    void showBackPay();
    void showLadder();
    void showCheck();
    void clearAll(const QString &why);
    void askPrint();

    Form1 &main_;
    QTabWidget *tabs_ = nullptr;
    SituationEditor *other_ = nullptr;
    QTableWidget *lines_ = nullptr;
    QList<QLabel *> currentValues_;
    QSpinBox *months_ = nullptr;
    QLabel *backMonthly_ = nullptr;
    QLabel *backBonus_ = nullptr;
    QLabel *backTotal_ = nullptr;
    QLabel *backNote_ = nullptr;
    QLabel *backQuarters_ = nullptr;
    QLabel *message_ = nullptr;
    QTableWidget *ladder_ = nullptr;
    QLabel *ladderTitle_ = nullptr;
    QLabel *above_ = nullptr;
    struct OfficialRow {
        QLineEdit *typed = nullptr;
        QLabel *ours = nullptr;
        QLabel *difference = nullptr;
        QLabel *verdict = nullptr;
    };
    std::map<paycalc::Field, OfficialRow> official_;
    OfficialRow officialRow(paycalc::Field field) const; // all null for a line not compared
    QTextBrowser *explanations_ = nullptr;
    QLabel *checkSummary_ = nullptr;
    QAction *print_ = nullptr;
    QAction *pdf_ = nullptr;
    QAction *copy_ = nullptr;
    QPushButton *refill_ = nullptr;

    paycalc::Situation current_;
    std::optional<paycalc::Comparison> comparison_;
    std::optional<paycalc::Ladder> ladderData_;
    std::optional<paycalc::CheckReport> check_;
    int refreshes_ = 0;
};

} // namespace paywindow
