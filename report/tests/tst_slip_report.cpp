// The printed slip read back from its PDF: every line's amount in its column
// (earnings or deductions), the totals and the net pay, the identity lines
// and the French labels only when asked for, nothing cut, the metadata, one
// slip a page, and a file that is written whole or not at all.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include "paycalc/slip.h"
#include "paycalc/recalculate.h"
#include "paycalc/situation.h"
#include "paydata/amount.h"
#include "report/slip_report.h"

using paycalc::Field;

Q_DECLARE_METATYPE(paycalc::Situation)

namespace {

QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Arabic presentation forms folded back to letters, direction marks and
// zero-width spaces taken out.
QString Plain(QString text)
{
    text = text.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression marks(
        QStringLiteral("[\\x{200B}\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    return text.remove(marks);
}

QString Run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PdfText(const QString &pdf, int page = 0)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return Plain(Run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-")));
}

struct Word {
    QString text;
    double x = 0; // centre
    double y = 0;
    double xMin = 0, xMax = 0, yMax = 0;
};

struct Page {
    double width = 0, height = 0;
    QList<Word> words;
};

// Every word of every page with its box, as pdftotext -bbox gives them.
QList<Page> PdfWords(const QString &pdf)
{
    QList<Page> pages;
    QXmlStreamReader xml(Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            pages.append({a.value(QLatin1String("width")).toDouble(), a.value(QLatin1String("height")).toDouble(), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.isEmpty()) {
            Word w;
            w.xMin = a.value(QLatin1String("xMin")).toDouble();
            w.xMax = a.value(QLatin1String("xMax")).toDouble();
            const double yMin = a.value(QLatin1String("yMin")).toDouble();
            w.yMax = a.value(QLatin1String("yMax")).toDouble();
            w.x = (w.xMin + w.xMax) / 2;
            w.y = (yMin + w.yMax) / 2;
            w.text = Plain(xml.readElementText());
            pages.last().words.append(w);
        }
    }
    return pages;
}

// Whether `amount` stands in one cell, whole or wrapped: a word that starts
// it, then the words that carry on with it, beside it on its line (a long
// amount breaks between groups of digits) or on the lines under it.
bool WholeInACell(const QList<Word> &words, const QString &amount)
{
    for (const Word &first : words) {
        if (first.text.isEmpty() || !amount.startsWith(first.text)) continue;
        QString read = first.text;
        const Word *at = &first;
        const Word *lineStart = &first;
        while (read.size() < amount.size()) {
            const QString rest = amount.mid(read.size());
            const Word *next = nullptr;
            for (const Word &w : words) // beside it
                if (!w.text.isEmpty() && rest.startsWith(w.text) && std::abs(w.y - at->y) < 1 &&
                    w.xMin >= at->xMax - 1 && w.xMin - at->xMax < 3)
                    next = &w;
            if (!next) {
                for (const Word &w : words) // at the start of the next line
                    if (!w.text.isEmpty() && rest.startsWith(w.text) && w.y > at->y + 1 && w.y - at->y < 20 &&
                        std::abs(w.xMin - lineStart->xMin) < 60 &&
                        (!next || w.y < next->y - 1 || (std::abs(w.y - next->y) < 1 && w.xMin < next->xMin)))
                        next = &w;
                if (next) lineStart = next;
            }
            if (!next) break;
            read += next->text;
            at = next;
        }
        if (read == amount) return true;
    }
    return false;
}

// The slip of a situation as a printed one is: with its explanations.
paycalc::Slip SlipOf(const paycalc::Situation &situation) { return paycalc::ComputeSlip(situation, true); }

// The totals as the page shows them.
struct Totals {
    bool computed;
    QString earnings, deductions, difference, rounding;
};
Totals TotalsOf(const paycalc::Slip &slip)
{
    const paycalc::SlipTotals t = slip.Totals();
    return {t.computed, Utf8(t.earnings), Utf8(t.deductions), Utf8(t.difference), Utf8(t.rounding)};
}

report::PrintOptions Options(bool bilingual = false, const paycalc::Identity &identity = {})
{
    report::PrintOptions options;
    options.printed = QDate(2026, 12, 7);
    options.bilingual = bilingual;
    options.identity = identity;
    return options;
}

QString OutputPath(const QString &name) { return QDir(QStringLiteral(PAYSLIP_BUILD_DIR)).filePath(name); }

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString Shown(const std::string &typed) { return Utf8(paydata::ShowAmount(paydata::ReadAmount(typed))); }

// The lines the net pay is made of: Text21 = Text17 + Text2001 + Text18 -
// Text19, Text2001 = Text12 - Text13 - Text15 - Text16, Text12 = Text3 +
// Text4 + ... + Text11 and Text3 = Text1 + Text2.
QStringList ExpectedEarnings(const paycalc::Slip &form)
{
    QStringList amounts;
    for (Field f : {Field::Text1, Field::Text2, Field::Text4, Field::Text5, Field::Text6, Field::Text7, Field::Text8,
                    Field::Text9, Field::Text17, Field::Text18})
        amounts << Utf8(form.Text(f));
    amounts << Shown(form.Text(Field::Text10)) << Shown(form.Text(Field::Text11));
    return amounts;
}

QStringList ExpectedDeductions(const paycalc::Slip &form)
{
    QStringList amounts;
    for (Field f : {Field::Text13, Field::Text15, Field::Text16, Field::Text19}) amounts << Utf8(form.Text(f));
    return amounts;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

// clang-format off
const QStringList kFrenchTerms{
    QStringLiteral("Salaire de base"), QStringLiteral("IEP"), QStringLiteral("Traitement principal"),
    QStringLiteral("Indemnité de qualification"), QStringLiteral("ICR"), QStringLiteral("Sécurité sociale"),
    QStringLiteral("IRG"), QStringLiteral("Mutuelle"), QStringLiteral("Allocations familiales"),
    QStringLiteral("Salaire unique"), QStringLiteral("Absences"), QStringLiteral("Net à payer"),
    QStringLiteral("Prime de rendement")};
// clang-format on

} // namespace

class SlipReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "pdfinfo", "pdftoppm"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
    }

    // Each line's amount stands in the earnings or the deductions column, the
    // subtotals in the base column; the columns add up to the net pay. The
    // columns are found by their French headings (a bilingual print has the
    // same columns), then the plain print is read the same way.
    void linesInTheirColumns_data()
    {
        QTest::addColumn<paycalc::Situation>("situation");
        QTest::addColumn<QString>("earnings"); // expected total, when known from a worked example
        QTest::addColumn<QString>("deductions");
        paycalc::Situation s;
        QTest::newRow("start-up") << s << QStringLiteral("58246.80") << QStringLiteral("14814.68");
        s = {};
        s.category = 17, s.echelon = 12, s.post = 10, s.status = 0, s.children = 0, s.absence = "3", s.zone = "1500.5";
        QTest::newRow("inspector, single, absences") << s << QString() << QString();
        s = {};
        s.absence = "45", s.mutual = false;
        QTest::newRow("negative net pay") << s << QString() << QString();
        s = {};
        s.zone = "1.2.3", s.housing = "12abc", s.children = 7, s.overTen = 3, s.spouse = 1;
        QTest::newRow("typed texts read as numbers") << s << QString() << QString();
    }

    void linesInTheirColumns()
    {
        QFETCH(paycalc::Situation, situation);
        QFETCH(QString, earnings);
        QFETCH(QString, deductions);
        const paycalc::Slip form = SlipOf(situation);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));

        const QString bilingual = OutputPath(QStringLiteral("columns-fr-%1.pdf").arg(tag));
        QVERIFY(report::WriteSlipPdf(form, Options(true), bilingual));
        const QList<Page> frPages = PdfWords(bilingual);
        QCOMPARE(frPages.size(), 1);
        QMap<QString, double> columns; // heading -> x of its centre, the topmost heading of that name
        QMap<QString, double> headingY;
        for (const Word &w : frPages[0].words)
            for (const QString &heading :
                 {QStringLiteral("Base"), QStringLiteral("Taux"), QStringLiteral("Gains"), QStringLiteral("Retenues")})
                if (w.text == heading && (!headingY.contains(heading) || w.y < headingY[heading])) {
                    columns[heading] = w.x;
                    headingY[heading] = w.y;
                }
        QCOMPARE(columns.size(), 4);
        // Right to left: base, rate, earnings, deductions from right to left.
        QVERIFY(columns[QStringLiteral("Base")] > columns[QStringLiteral("Taux")]);
        QVERIFY(columns[QStringLiteral("Taux")] > columns[QStringLiteral("Gains")]);
        QVERIFY(columns[QStringLiteral("Gains")] > columns[QStringLiteral("Retenues")]);

        const Totals totals = TotalsOf(form);
        QVERIFY(totals.computed);
        QCOMPARE(totals.difference, Utf8(form.Text(Field::Text21)));
        QVERIFY(totals.rounding.isEmpty());
        if (!earnings.isEmpty()) {
            QCOMPARE(totals.earnings, earnings);
            QCOMPARE(totals.deductions, deductions);
        }

        const QString plain = OutputPath(QStringLiteral("columns-%1.pdf").arg(tag));
        QVERIFY(report::WriteSlipPdf(form, Options(false), plain));
        for (const QString &pdf : {bilingual, plain}) {
            const QList<Page> pages = PdfWords(pdf);
            QCOMPARE(pages.size(), 1);
            static const QRegularExpression amount(QStringLiteral("^-?\\d+\\.\\d\\d$"));
            // The bonus block, below the table, has its own line with "0.819".
            double bonusY = 1e9;
            for (const Word &w : pages[0].words)
                if (w.text.contains(QStringLiteral("0.819"))) bonusY = w.y;
            QVERIFY(bonusY < 1e9);
            QMap<QString, QStringList> found;
            for (const Word &w : pages[0].words) {
                if (!amount.match(w.text).hasMatch() || std::abs(w.y - bonusY) < 4) continue;
                QString nearest;
                for (auto c = columns.cbegin(); c != columns.cend(); ++c)
                    if (nearest.isEmpty() || std::abs(w.x - c.value()) < std::abs(w.x - columns[nearest]))
                        nearest = c.key();
                found[nearest] << w.text;
            }
            const QString net = Utf8(form.Text(Field::Text21));
            QCOMPARE(Sorted(found[QStringLiteral("Gains")]), Sorted(ExpectedEarnings(form) << totals.earnings << net));
            QCOMPARE(Sorted(found[QStringLiteral("Retenues")]), Sorted(ExpectedDeductions(form) << totals.deductions));
            for (Field subtotal : {Field::Text3, Field::Text12, Field::Text14})
                QVERIFY2(found[QStringLiteral("Base")].contains(Utf8(form.Text(subtotal))),
                         qPrintable(Utf8(paycalc::FieldName(subtotal))));
            const QString text = PdfText(pdf);
            QVERIFY(text.contains(Utf8(form.Text(Field::Text22))));
            QVERIFY(text.contains(QStringLiteral("كشف الراتب جانفي")) && text.contains(QStringLiteral("2016")));
            QVERIFY(text.contains(QStringLiteral("2026-12-07")));
            QVERIFY(text.contains(QStringLiteral("دينار جزائري")));
        }
    }

    // The start-up slip through the command line as a user runs it.
    void commandLineStartUpTotals()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("slip.pdf"));
        QProcess cli;
        cli.start(QStringLiteral(PAYSLIP_CLI), {QStringLiteral("--pdf"), pdf});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        // One row holds both totals: earnings in the column right of the
        // deductions, and the net pay under the total earnings.
        const QList<Page> pages = PdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const auto find = [&pages](const QString &text) {
            for (const Word &w : pages[0].words)
                if (w.text == text) return w;
            return Word{};
        };
        const Word earnings = find(QStringLiteral("58246.80"));
        const Word deductions = find(QStringLiteral("14814.68"));
        const Word net = find(QStringLiteral("43432.12"));
        QVERIFY(!earnings.text.isEmpty() && !deductions.text.isEmpty() && !net.text.isEmpty());
        QVERIFY(std::abs(earnings.y - deductions.y) < 1);
        QVERIFY(earnings.x > deductions.x + 50);
        QVERIFY(std::abs(net.x - earnings.x) < 5 && net.y > earnings.y);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("مجموع المستحقات")) && text.contains(QStringLiteral("مجموع الاقتطاعات")));
        QVERIFY(text.contains(QStringLiteral("ثلاثة وأربعون ألفا وأربعمائة واثنان وثلاثون دينار جزائري واثنا عشر سنتيم")));
    }

    void situationShowsIndexPoints()
    {
        paycalc::Situation s; // category 11, echelon 7: 498 + 174 points
        s.post = 6;
        const QString pdf = OutputPath(QStringLiteral("situation.pdf"));
        QVERIFY(report::WriteSlipPdf(SlipOf(s), Options(), pdf));
        const QString text = PdfText(pdf);
        for (const QString &expected :
             {QStringLiteral("498"), QStringLiteral("174"), QStringLiteral("672"), QStringLiteral("45"),
              QStringLiteral("مدير ثانوية"), QStringLiteral("متزوج"), QStringLiteral("ماكثة"), QStringLiteral("مشترك"),
              QStringLiteral("النقاط الاستدلالية للصنف"), QStringLiteral("مجموع النقاط"), QStringLiteral("قيمة النقطة")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }

    void identityLinesOnlyWhenGiven()
    {
        const paycalc::Slip form = SlipOf({});
        const QString with = OutputPath(QStringLiteral("identity.pdf"));
        QVERIFY(report::WriteSlipPdf(form, Options(false, {"أحمد بن علي", "NE-20417", "ثانوية الأمير عبد القادر"}), with));
        const QString text = PdfText(with);
        for (const QString &expected :
             {QStringLiteral("الاسم واللقب"), QStringLiteral("أحمد بن علي"), QStringLiteral("رقم الموظف"),
              QStringLiteral("NE-20417"), QStringLiteral("مكان العمل"), QStringLiteral("ثانوية الأمير عبد القادر")})
            QVERIFY2(text.contains(expected), qPrintable(expected));

        const QString some = OutputPath(QStringLiteral("identity-number.pdf"));
        QVERIFY(report::WriteSlipPdf(form, Options(false, {{}, "NE-20417", {}}), some));
        const QString someText = PdfText(some);
        QVERIFY(someText.contains(QStringLiteral("NE-20417")));
        QVERIFY(!someText.contains(QStringLiteral("الاسم واللقب")));
        QVERIFY(!someText.contains(QStringLiteral("مكان العمل")));

        const QString without = OutputPath(QStringLiteral("no-identity.pdf"));
        QVERIFY(report::WriteSlipPdf(form, Options(), without));
        const QString none = PdfText(without);
        for (const QString &label :
             {QStringLiteral("الاسم واللقب"), QStringLiteral("رقم الموظف"), QStringLiteral("مكان العمل")})
            QVERIFY2(!none.contains(label), qPrintable(label));
    }

    void frenchLabelsOnlyWithTheOption()
    {
        const paycalc::Slip form = SlipOf({});
        const QString fr = OutputPath(QStringLiteral("bilingual.pdf"));
        const QString ar = OutputPath(QStringLiteral("arabic.pdf"));
        QVERIFY(report::WriteSlipPdf(form, Options(true), fr));
        QVERIFY(report::WriteSlipPdf(form, Options(false), ar));
        // Lines of the PDF's text joined, for labels that wrap in their cell.
        const QString frText = PdfText(fr).simplified();
        const QString arText = PdfText(ar).simplified();
        for (const QString &term : kFrenchTerms) {
            QVERIFY2(frText.contains(term), qPrintable(term));
            // "IRG" is part of the Arabic caption of the income tax itself.
            if (term != QStringLiteral("IRG")) QVERIFY2(!arText.contains(term), qPrintable(term));
        }
        QVERIFY(!arText.contains(QStringLiteral("impôt sur le revenu")));
        // Still one page, still right to left: the Arabic label of a row
        // stands right of its French translation's start.
        QCOMPARE(PdfWords(fr).size(), 1);
    }

    // The largest typed amounts a slip can still compute (the taxable amount
    // must fit the single precision of the tax scale) fit or wrap in their
    // cells: every word inside the page, every digit there.
    void hugeAmountsAreNotCut_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("housing");
        QTest::newRow("1E15") << QStringLiteral("1E15") << QStringLiteral("0");
        QTest::newRow("both 1E15") << QStringLiteral("1E15") << QStringLiteral("999999999999999.99");
        QTest::newRow("3E38") << QStringLiteral("3E38") << QStringLiteral("0");
    }

    void hugeAmountsAreNotCut()
    {
        QFETCH(QString, zone);
        QFETCH(QString, housing);
        paycalc::Situation s;
        s.zone = zone.toStdString();
        s.housing = housing.toStdString();
        const paycalc::Slip form = SlipOf(s);
        for (bool bilingual : {false, true}) {
            const QString pdf = OutputPath(
                QStringLiteral("huge-%1-%2.pdf")
                    .arg(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')))
                    .arg(bilingual));
            QVERIFY(report::WriteSlipPdf(form, Options(bilingual), pdf));
            const QList<Page> pages = PdfWords(pdf);
            QCOMPARE(pages.size(), 1);
            for (const Word &w : pages[0].words) {
                QVERIFY2(w.xMin >= 0 && w.xMax <= pages[0].width && w.yMax <= pages[0].height, qPrintable(w.text));
            }
            for (Field f : {Field::Text12, Field::Text13, Field::Text14, Field::Text15, Field::Text21})
                QVERIFY2(WholeInACell(pages[0].words, Utf8(form.Text(f))),
                         qPrintable(Utf8(paycalc::FieldName(f)) + QLatin1Char(' ') + Utf8(form.Text(f))));
            QVERIFY(WholeInACell(pages[0].words, Shown(s.zone)));
        }
    }

    void metadataNamesTitleSubjectAndVersion()
    {
        paycalc::Situation s;
        s.category = 13, s.echelon = 1;
        const QString pdf = OutputPath(QStringLiteral("metadata.pdf"));
        QVERIFY(report::WriteSlipPdf(SlipOf(s), Options(), pdf));
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Title:\\s+كشف الراتب جانفي 2016"))));
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Creator:\\s+payslip 1\\.0\\.0"))));
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Page size:.*\\(A4\\)"))));
        const QString meta = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
        QVERIFY2(meta.contains(
                     QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>الصنف 13، الدرجة 1<")),
                 qPrintable(meta));
    }

    void severalSlipsOnePageEach()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("staff.pdf"));
        QList<paycalc::Slip> forms;
        for (int category : {3, 11, 17}) {
            paycalc::Situation s;
            s.category = category;
            forms.append(SlipOf(s));
        }
        report::SlipPdf pdf(path, Options());
        const QString names[] = {QStringLiteral("Employee A"), QStringLiteral("Employee B"),
                                 QStringLiteral("Employee C")};
        for (qsizetype i = 0; i < forms.size(); ++i) pdf.addSlip(forms[i], {names[i].toStdString(), {}, {}});
        QVERIFY(!QFileInfo::exists(path)); // nothing until finished
        QString error;
        QVERIFY2(pdf.finish(&error), qPrintable(error));
        QVERIFY(Run(QStringLiteral("pdfinfo"), {path}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));
        for (int page = 1; page <= 3; ++page) {
            const QString text = PdfText(path, page);
            QVERIFY(text.contains(Utf8(forms[page - 1].Text(Field::Text21))));
            QVERIFY(text.contains(names[page - 1]));
        }
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("staff.pdf")});
    }

    void noSlipNoFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.pdf"));
        {
            report::SlipPdf pdf(path, Options());
            QString error;
            QVERIFY(!pdf.finish(&error));
            QVERIFY(error.contains(path));
        }
        {
            report::SlipPdf abandoned(path, Options());
            abandoned.addSlip(SlipOf({}), {});
        } // never finished: nothing is put in place
        QVERIFY(Entries(dir.path()).isEmpty());
    }

    void missingFolderIsAnErrorNamingTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("no/such/dir/x.pdf"));
        QString error;
        QVERIFY(!report::WriteSlipPdf(SlipOf({}), Options(), path, &error));
        QVERIFY2(error.contains(QStringLiteral("cannot write")) && error.contains(QDir::toNativeSeparators(path)),
                 qPrintable(error));
        QVERIFY(Entries(dir.path()).isEmpty());
    }

    // A write that fails part way (here: the file-size limit of the process,
    // as a full disk would) is an error, and the file that was there keeps
    // its bytes; no temporary is left beside it.
    void failedWriteKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("slip.pdf"));
        QVERIFY(report::WriteSlipPdf(SlipOf({}), Options(), path));
        const QByteArray before = Contents(path);
        QVERIFY(before.size() > 8192);

        paycalc::Situation other;
        other.category = 5;
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool written = report::WriteSlipPdf(SlipOf(other), Options(), path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!written);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        QCOMPARE(Contents(path), before);
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("slip.pdf")});
    }

    // The same through the command line: exit status 1, a message naming the
    // file, the previous file untouched.
    void commandLineFailedWriteExitsOne()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("slip.pdf"));
        QVERIFY(report::WriteSlipPdf(SlipOf({}), Options(), path));
        const QByteArray before = Contents(path);

        QProcess cli;
        cli.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small{};
            getrlimit(RLIMIT_FSIZE, &small);
            small.rlim_cur = 4096;
            setrlimit(RLIMIT_FSIZE, &small);
        });
        cli.start(QStringLiteral(PAYSLIP_CLI), {QStringLiteral("--no-mutual"), QStringLiteral("--pdf"), path});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        const QString message = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(message.contains(QStringLiteral("cannot write")) && message.contains(path), qPrintable(message));
        QCOMPARE(Contents(path), before);
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("slip.pdf")});
    }

    // The clipboard's copy: tab-separated rows of five cells, earnings and
    // deductions in their own columns, then the totals and the net pay.
    void copiedTextIsTabSeparatedRows()
    {
        paycalc::Situation s;
        s.absence = "2";
        const paycalc::Slip form = SlipOf(s);
        const QStringList lines = report::SlipText(form).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QMap<QString, QStringList> byLabel;
        QStringList earnings, deductions;
        for (const QString &line : lines) {
            const QStringList cells = line.split(QLatin1Char('\t'));
            QCOMPARE(cells.size(), 5);
            byLabel[cells[0]] = cells;
        }
        QCOMPARE(byLabel.value(QStringLiteral("البيان")),
                 (QStringList{QStringLiteral("البيان"), QStringLiteral("الأساس"), QStringLiteral("النسبة"),
                              QStringLiteral("المستحقات"), QStringLiteral("الاقتطاعات")}));
        const Totals totals = TotalsOf(form);
        for (const QString &line : lines.mid(1)) {
            const QStringList cells = line.split(QLatin1Char('\t'));
            if (cells[0] == QStringLiteral("مجموع المستحقات") || cells[0] == Utf8(paycalc::FieldTitle(Field::Text21)))
                continue;
            if (!cells[3].isEmpty() && cells[0] != Utf8(paycalc::FieldTitle(Field::Text22))) earnings << cells[3];
            if (!cells[4].isEmpty() && cells[0] != QStringLiteral("مجموع الاقتطاعات")) deductions << cells[4];
        }
        QCOMPARE(Sorted(earnings), Sorted(ExpectedEarnings(form)));
        QCOMPARE(Sorted(deductions), Sorted(ExpectedDeductions(form)));
        QCOMPARE(byLabel.value(QStringLiteral("مجموع المستحقات")).value(3), totals.earnings);
        QCOMPARE(byLabel.value(QStringLiteral("مجموع الاقتطاعات")).value(4), totals.deductions);
        QCOMPARE(byLabel.value(Utf8(paycalc::FieldTitle(Field::Text21))).value(3), Utf8(form.Text(Field::Text21)));
        QCOMPARE(byLabel.value(Utf8(paycalc::FieldTitle(Field::Text12))).value(1), Utf8(form.Text(Field::Text12)));
        QCOMPARE(byLabel.value(Utf8(paycalc::FieldTitle(Field::Text22))).value(3), Utf8(form.Text(Field::Text22)));
        // Plain numbers, no direction marks, so that a spreadsheet reads them.
        QVERIFY(!report::SlipText(form).contains(
            QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]"))));
        const QString french = report::SlipText(form, true);
        QVERIFY(french.contains(QStringLiteral("Net à payer")) && french.contains(QStringLiteral("Salaire de base")));
        QVERIFY(!report::SlipText(form).contains(QStringLiteral("Net à payer")));
    }

    void pageRendersForALook()
    {
        const QString pdf = OutputPath(QStringLiteral("startup-slip.pdf"));
        QVERIFY(report::WriteSlipPdf(SlipOf({}), Options(), pdf));
        const QString prefix = OutputPath(QStringLiteral("startup-slip"));
        QFile::remove(prefix + QStringLiteral(".png"));
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                             QStringLiteral("-singlefile"), pdf, prefix});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        QVERIFY(page.height() > page.width()); // A4 portrait
        int dark = 0, cyan = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.lightness() < 80) ++dark;
                if (c.red() < 160 && c.green() > 220 && c.blue() > 220) ++cyan; // the net pay and the bonus
            }
        QVERIFY(dark > 500);
        QVERIFY(cyan > 200);
        // Joined Arabic letters: the PDF carries the shaped forms.
        static const QRegularExpression joined(QStringLiteral("[\\x{FE70}-\\x{FEFC}]"));
        QVERIFY(Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(joined));
    }
};

QTEST_MAIN(SlipReportTest)
#include "tst_slip_report.moc"
