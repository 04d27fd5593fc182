// The explanation behind every line: each display field's tooltip holds the
// rule and the computation of the last recalculation, whose amounts are the
// fields they name and whose arithmetic gives the line's amount; a stopped
// recalculation leaves no explanation of an earlier run in view.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>

#include <cmath>
#include <optional>

#include "tests/memory_form.h"
#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "paycalc/recalculate.h"
#include "paycalc/trace.h"
#include "window/form1.h"

using paycalc::Field;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

QString Utf8(const std::string &text) { return QString::fromStdString(text); }

QString Name(Field f)
{
    const std::string_view name = paycalc::FieldName(f);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The display fields, in the order of the slip.
QList<Field> DisplayLines(const Form1 &form)
{
    QList<Field> lines;
    for (Field f : paycalc::kComputedFields)
        if (form.text(f)) lines << f;
    return lines;
}

// The computation as the tooltip shows it.
QString Computation(const paycalc::Explanation &e)
{
    return e.formula.empty() ? Utf8(e.result) : Utf8(e.formula) + QStringLiteral(" = ") + Utf8(e.result);
}

// Evaluates the arithmetic of an explanation: numbers (with a leading '-'
// for a negative amount), + − × ÷, parentheses, and "%" for hundredths.
class Arithmetic {
public:
    explicit Arithmetic(const QString &formula) : s_(formula) {}

    std::optional<double> value()
    {
        const std::optional<double> v = sum();
        skipBlanks();
        if (!v || i_ != s_.size()) return std::nullopt;
        return v;
    }

private:
    void skipBlanks()
    {
        while (i_ < s_.size() && s_[i_].isSpace()) ++i_;
    }
    bool take(QChar c)
    {
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::optional<double> sum()
    {
        std::optional<double> v = product();
        while (v) {
            if (take(QLatin1Char('+'))) {
                const auto r = product();
                v = r ? std::optional(*v + *r) : std::nullopt;
            } else if (take(QChar(0x2212))) {
                const auto r = product();
                v = r ? std::optional(*v - *r) : std::nullopt;
            } else {
                break;
            }
        }
        return v;
    }
    std::optional<double> product()
    {
        std::optional<double> v = factor();
        while (v) {
            if (take(QChar(0x00D7))) {
                const auto r = factor();
                v = r ? std::optional(*v * *r) : std::nullopt;
            } else if (take(QChar(0x00F7))) {
                const auto r = factor();
                v = r ? std::optional(*v / *r) : std::nullopt;
            } else {
                break;
            }
        }
        return v;
    }
    std::optional<double> factor()
    {
        std::optional<double> v;
        if (take(QLatin1Char('('))) {
            v = sum();
            if (!take(QLatin1Char(')'))) return std::nullopt;
        } else {
            v = number();
        }
        if (v && take(QLatin1Char('%'))) *v /= 100;
        return v;
    }
    std::optional<double> number()
    {
        skipBlanks();
        const qsizetype start = i_;
        if (i_ < s_.size() && s_[i_] == QLatin1Char('-')) ++i_;
        while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == QLatin1Char('.'))) ++i_;
        bool ok = false;
        const double v = s_.mid(start, i_ - start).toDouble(&ok);
        return ok ? std::optional(v) : std::nullopt;
    }

    QString s_;
    qsizetype i_ = 0;
};

// Puts the window in a situation written "Combo1(0)=16;Text20=3;Check1=0".
void Apply(Form1 &form, const QString &situation)
{
    for (const QString &setting : situation.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        if (name.startsWith(QStringLiteral("Combo1("))) {
            form.combo(name.mid(7, name.size() - 8).toInt())->setCurrentIndex(value.toInt());
        } else if (name == QStringLiteral("Check1")) {
            form.check1()->setChecked(value == QStringLiteral("1"));
        } else {
            Field f{};
            QVERIFY2(paycalc::ParseFieldName(name.toStdString(), f), qPrintable(name));
            form.text(f)->setText(value);
        }
    }
}

// A field's amount as the window holds it, hidden working fields included.
QString Shown(Form1 &form, Field f) { return Utf8(form.payForm().Text(f)); }

// The differences between what the explanation of `line` quotes and the
// window: its result against the field's text, each quoted amount against
// the field it names, each quoted amount and the computation in the tooltip.
QString QuotationDifferences(Form1 &form, Field line, const QString &tip)
{
    const paycalc::Explanation *e = form.trace().Find(line);
    if (!e) return Name(line) + QStringLiteral(": no explanation\n");
    QString differences;
    if (Utf8(e->result) != Shown(form, line))
        differences += QStringLiteral("%1: result %2, field %3\n").arg(Name(line), Utf8(e->result), Shown(form, line));
    if (!tip.contains(Computation(*e).toHtmlEscaped()))
        differences += QStringLiteral("%1: the tooltip lacks \"%2\"\n").arg(Name(line), Computation(*e));
    if (!tip.contains(Utf8(e->rule).toHtmlEscaped()))
        differences += QStringLiteral("%1: the tooltip lacks its rule\n").arg(Name(line));
    for (const paycalc::Quoted &q : e->quoted) {
        const Field named = *q.field;
        const QString amount = Utf8(q.amount);
        // A typed field is quoted as the number its text holds.
        const bool same = paycalc::IsTypedField(named) ? amount.toDouble() == Shown(form, named).toDouble()
                                                       : amount == Shown(form, named);
        if (!same)
            differences += QStringLiteral("%1: quotes %2 as %3, the field holds %4\n")
                               .arg(Name(line), Name(named), amount, Shown(form, named));
        if (!tip.contains(amount))
            differences += QStringLiteral("%1: the tooltip does not show %2\n").arg(Name(line), amount);
    }
    return differences;
}

constexpr double kCent = 0.01;

bool HasDigit(const QString &text)
{
    static const QRegularExpression digit(QStringLiteral("\\d"));
    return text.contains(digit);
}

QString OutputPath(const QString &name) { return QDir(QStringLiteral(PAYSLIP_TEST_OUTPUT_DIR)).filePath(name); }

} // namespace

class Form1ExplanationsTest : public QObject {
    Q_OBJECT

private slots:
    void situations_data();
    void everyLineQuotesTheAmountsOfItsFields_data() { situations_data(); }
    void everyLineQuotesTheAmountsOfItsFields();
    void everyComputationGivesItsLinesAmount_data() { situations_data(); }
    void everyComputationGivesItsLinesAmount();
    void explanationsComeFromTheRecalculationShown();
    void tooltipsFollowEveryRecalculation();
    void stoppedRecalculationLeavesNoStaleExplanation_data();
    void stoppedRecalculationLeavesNoStaleExplanation();
    void hiddenWorkingAmountsAreExplainedWhereQuoted();
    void ruleReadsRightToLeftAndComputationLeftToRight();
    void screenReadersGetTheExplanation();
    void tooltipPicture();
};

void Form1ExplanationsTest::situations_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("start-up") << QString();
    QTest::newRow("zone, housing, absences") << QStringLiteral("Text10=1500.5;Text11=800;Text20=3");
    QTest::newRow("category 17, echelon 12, inspector") << QStringLiteral("Combo1(0)=16;Combo1(1)=12;Combo1(4)=10");
    QTest::newRow("seven children, working spouse, no mutual")
        << QStringLiteral("Combo1(2)=7;Combo1(3)=3;Combo1(6)=1;Check1=0");
    QTest::newRow("category 1, echelon 0, no tax") << QStringLiteral("Combo1(0)=0;Combo1(1)=0");
    QTest::newRow("single, mark 33") << QStringLiteral("Combo1(2)=0;Combo1(3)=0;Combo1(5)=0;Text23=33");
    QTest::newRow("negative net pay") << QStringLiteral("Text20=45");
}

void Form1ExplanationsTest::everyLineQuotesTheAmountsOfItsFields()
{
    QFETCH(QString, situation);
    Form1 form;
    Apply(form, situation);
    QVERIFY(form.messageLabel()->isHidden());
    const QList<Field> lines = DisplayLines(form);
    QCOMPARE(lines.size(), 19); // Text1..Text9, Text12..Text19, Text21, Text22
    QString differences;
    for (Field line : lines) {
        const QString tip = form.text(line)->toolTip();
        QVERIFY2(!tip.isEmpty(), qPrintable(Name(line)));
        QVERIFY2(Qt::mightBeRichText(tip), qPrintable(Name(line)));
        differences += QuotationDifferences(form, line, tip);
    }
    QCOMPARE(differences, QString());
}

void Form1ExplanationsTest::everyComputationGivesItsLinesAmount()
{
    QFETCH(QString, situation);
    Form1 form;
    Apply(form, situation);
    QVERIFY(form.messageLabel()->isHidden());
    int computed = 0;
    QString differences;
    for (Field line : paycalc::kComputedFields) {
        const paycalc::Explanation *e = form.trace().Find(line);
        QVERIFY2(e, qPrintable(Name(line)));
        if (e->formula.empty()) continue; // a table lookup: the rule names the row
        ++computed;
        const std::optional<double> value = Arithmetic(Utf8(e->formula)).value();
        if (!value) {
            differences += QStringLiteral("%1: cannot read \"%2\"\n").arg(Name(line), Utf8(e->formula));
            continue;
        }
        // The line is the computation rounded to cents.
        const double shown = Shown(form, line).toDouble();
        if (std::abs(*value - shown) > kCent / 2 + 1e-6)
            differences += QStringLiteral("%1: %2 gives %3, the field holds %4\n")
                               .arg(Name(line), Computation(*e))
                               .arg(*value, 0, 'f', 6)
                               .arg(Shown(form, line));
    }
    QCOMPARE(differences, QString());
    QVERIFY(computed >= 14);
}

void Form1ExplanationsTest::explanationsComeFromTheRecalculationShown()
{
    Form1 form;
    Apply(form, QStringLiteral("Combo1(0)=12;Text20=2;Text10=700"));
    paycalc::MemoryForm again = form1test::InputsOf(form);
    paycalc::Trace expected;
    paycalc::RecalculateAll(again, &expected);
    for (Field line : paycalc::kComputedFields) {
        const paycalc::Explanation *shown = form.trace().Find(line);
        const paycalc::Explanation *fresh = expected.Find(line);
        QVERIFY2(shown && fresh, qPrintable(Name(line)));
        QCOMPARE(Utf8(paycalc::ExplanationText(*shown)), Utf8(paycalc::ExplanationText(*fresh)));
    }
}

void Form1ExplanationsTest::tooltipsFollowEveryRecalculation()
{
    Form1 form;
    const QString before = form.text(Field::Text19)->toolTip();
    QVERIFY(before.contains(QStringLiteral(" ÷ 30 × 0 = 0.00")));
    form.text(Field::Text20)->setText(QStringLiteral("3"));
    const QString after = form.text(Field::Text19)->toolTip();
    QVERIFY(after != before);
    QVERIFY2(after.contains(QStringLiteral(" ÷ 30 × 3 = ") + form.text(Field::Text19)->text()), qPrintable(after));
    QCOMPARE(QuotationDifferences(form, Field::Text19, after), QString());
    QCOMPARE(QuotationDifferences(form, Field::Text21, form.text(Field::Text21)->toolTip()), QString());
}

void Form1ExplanationsTest::stoppedRecalculationLeavesNoStaleExplanation_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstUnexplained"); // the first display field without an explanation

    QTest::newRow("zone: 400 nines") << Field::Text10 << QString(400, QLatin1Char('9')) << paycalc::Index(Field::Text12);
    // The lines computed before the deduction for absences are explained as
    // they are computed: only the deduction and the lines after it are not.
    QTest::newRow("absences: 308 nines") << Field::Text20 << QString(308, QLatin1Char('9'))
                                         << paycalc::Index(Field::Text19);
}

void Form1ExplanationsTest::stoppedRecalculationLeavesNoStaleExplanation()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(int, firstUnexplained);

    Form1 form;
    QHash<Field, QString> startUp;
    for (Field line : DisplayLines(form)) startUp[line] = form.text(line)->toolTip();

    form.text(field)->setText(text);
    QVERIFY(!form.messageLabel()->isHidden());
    int unexplained = 0;
    for (Field line : DisplayLines(form)) {
        const QString tip = form.text(line)->toolTip();
        if (paycalc::Index(line) < firstUnexplained) {
            // Lines before the stop: explained by this run, like the run before.
            QCOMPARE(tip, startUp[line]);
            QCOMPARE(QuotationDifferences(form, line, tip), QString());
            continue;
        }
        ++unexplained;
        QVERIFY2(!form.trace().Find(line), qPrintable(Name(line)));
        QVERIFY2(!tip.isEmpty(), qPrintable(Name(line)));
        QVERIFY2(!HasDigit(tip), qPrintable(Name(line) + QStringLiteral(": ") + tip));
        QVERIFY2(tip.contains(Utf8(paycalc::FieldTitle(line)).toHtmlEscaped()), qPrintable(Name(line)));
        QVERIFY2(tip.contains(QStringLiteral("توقف الحساب")), qPrintable(Name(line)));
        QVERIFY(tip != startUp[line]);
    }
    QVERIFY(unexplained >= 3);

    // Corrected, the slip and every explanation come back.
    form.text(field)->setText(QStringLiteral("0"));
    QVERIFY(form.messageLabel()->isHidden());
    for (Field line : DisplayLines(form)) {
        QCOMPARE(form.text(line)->toolTip(), startUp[line]);
        QCOMPARE(QuotationDifferences(form, line, form.text(line)->toolTip()), QString());
    }
}

void Form1ExplanationsTest::hiddenWorkingAmountsAreExplainedWhereQuoted()
{
    Form1 form;
    form.text(Field::Text20)->setText(QStringLiteral("2"));
    const paycalc::Explanation *afterDeductions = form.trace().Find(Field::Text2001);
    const paycalc::Explanation *children = form.trace().Find(Field::Text2000);
    QVERIFY(afterDeductions && children);
    // Net pay and absences quote the pay after deductions, which no field
    // shows; the family allowances quote the children's share.
    QVERIFY(form.text(Field::Text21)->toolTip().contains(Computation(*afterDeductions)));
    QVERIFY(form.text(Field::Text19)->toolTip().contains(Computation(*afterDeductions)));
    QVERIFY(form.text(Field::Text17)->toolTip().contains(Computation(*children)));
    QVERIFY(!form.text(Field::Text13)->toolTip().contains(Computation(*afterDeductions)));
    QCOMPARE(QuotationDifferences(form, Field::Text2001, form.text(Field::Text21)->toolTip()), QString());
}

void Form1ExplanationsTest::ruleReadsRightToLeftAndComputationLeftToRight()
{
    Form1 form;
    const paycalc::Explanation *e = form.trace().Find(Field::Text13);
    QVERIFY(e);
    QCOMPARE(Computation(*e), QStringLiteral("57146.80 × 9 % = 5143.21"));

    QTextDocument document;
    document.setHtml(form.text(Field::Text13)->toolTip());
    int rules = 0;
    int computations = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty()) continue;
        const Qt::LayoutDirection direction = block.blockFormat().layoutDirection();
        if (block.text() == Computation(*e)) {
            ++computations;
            QCOMPARE(direction, Qt::LeftToRight);
        } else {
            ++rules;
            QVERIFY2(direction == Qt::RightToLeft, qPrintable(block.text()));
        }
    }
    QCOMPARE(computations, 1);
    QCOMPARE(rules, 2); // the line's title and its rule
}

void Form1ExplanationsTest::screenReadersGetTheExplanation()
{
    Form1 form;
    for (Field line : DisplayLines(form))
        QCOMPARE(form.text(line)->accessibleDescription(), Utf8(paycalc::ExplanationText(*form.trace().Find(line))));
    form.text(Field::Text10)->setText(QString(400, QLatin1Char('9')));
    QVERIFY(!HasDigit(form.text(Field::Text21)->accessibleDescription()));
    QVERIFY(!form.text(Field::Text21)->accessibleDescription().isEmpty());
}

// The tooltips of the social-security line and of net pay as the user sees
// them, saved next to the test for anyone to look at.
void Form1ExplanationsTest::tooltipPicture()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (const auto &[line, file] :
         {std::pair{Field::Text13, "tooltip-text13.png"}, std::pair{Field::Text21, "tooltip-text21.png"},
          std::pair{Field::Text15, "tooltip-text15.png"}}) {
        QLineEdit *box = form.text(line);
        QToolTip::showText(box->mapToGlobal(box->rect().center()), box->toolTip(), box);
        QLabel *tip = nullptr;
        QTRY_VERIFY((tip = qobject_cast<QLabel *>([] {
                         for (QWidget *w : QApplication::topLevelWidgets())
                             if (w->objectName() == QStringLiteral("qtooltip_label") && w->isVisible()) return w;
                         return static_cast<QWidget *>(nullptr);
                     }())) != nullptr);
        QCOMPARE(tip->text(), box->toolTip());
        const QImage shot = tip->grab().toImage();
        QVERIFY(shot.width() > 100 && shot.height() > 40);
        QVERIFY(shot.save(OutputPath(QString::fromLatin1(file))));
        QToolTip::hideText();
    }
}

QTEST_MAIN(Form1ExplanationsTest)
#include "tst_form1_explanations.moc"
