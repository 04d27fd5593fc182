// The printable slip: a PDF read back with pdftotext holds every amount and
// label in reading order, drawn with joined Arabic letters.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <sstream>

#include "cli/cli.h"
#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"
#include "report/slip_report.h"

using paycalc::Field;

namespace {

QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The text of a PDF as pdftotext reads it, with the shaped (presentation)
// forms of Arabic letters folded back to the letters and the direction marks
// taken out.
QString PdfText(const QString& pdf, QString* raw = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    if (raw) *raw = text;
    text = text.normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]")));
    return text;
}

report::PrintOptions Printed(const QDate& date)
{
    report::PrintOptions options;
    options.printed = date;
    return options;
}

paycalc::MemoryForm StartUpSlip()
{
    paycalc::MemoryForm form;
    paycalc::RecalculateAll(form);
    return form;
}

} // namespace

class SlipReportTest : public QObject {
    Q_OBJECT

private slots:
    void pdfHoldsEveryAmountAndLabelInReadingOrder_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::newRow("start-up") << QString();
        QTest::newRow("inspector, single, absences") << QStringLiteral(
            "--category 17 --echelon 12 --post 10 --status single --children 0 --absence 3 --zone 1500.5");
        QTest::newRow("negative net pay") << QStringLiteral("--absence 45 --no-mutual");
    }

    void pdfHoldsEveryAmountAndLabelInReadingOrder()
    {
        QFETCH(QString, arguments);
        std::vector<std::string> args;
        for (const QString& a : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts)) args.push_back(a.toStdString());
        paycalc::MemoryForm form;
        paycalc::FillForm(form, cli::ParseOptions(args).situation);
        paycalc::RecalculateAll(form);

        const QString pdf = QDir(QStringLiteral(PAYSLIP_BUILD_DIR))
                                .filePath(QStringLiteral("slip-%1.pdf").arg(QTest::currentDataTag()).replace(' ', '_'));
        QVERIFY(report::WriteSlipPdf(form, Printed(QDate(2026, 12, 7)), pdf));
        QString raw;
        const QString text = PdfText(pdf, &raw);
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");

        QVERIFY(text.contains(QStringLiteral("كشف الراتب جانفي 2016")));
        QVERIFY(text.contains(QStringLiteral("2026-12-07")));
        qsizetype labelAt = 0, amountAt = 0;
        for (Field f : paycalc::kSlipLines) {
            if (paycalc::IsTypedField(f)) continue;
            const QString label = Utf8(paycalc::FieldTitle(f)).normalized(QString::NormalizationForm_KC);
            const QString amount = Utf8(form.Text(f));
            // Labels may wrap within their cell: compare word by word from the first word on.
            const QString first = label.section(QLatin1Char(' '), 0, 0);
            const qsizetype l = text.indexOf(first, labelAt);
            QVERIFY2(l >= 0, qPrintable(QStringLiteral("label %1 missing or out of order").arg(label)));
            labelAt = l + 1;
            const qsizetype a = text.indexOf(amount, amountAt);
            QVERIFY2(a >= 0, qPrintable(QStringLiteral("amount %1 of %2 missing or out of order")
                                            .arg(amount, Utf8(paycalc::FieldName(f)))));
            amountAt = a + 1;
        }
        // Shaped text: the PDF carries the joined forms of the letters.
        static const QRegularExpression joined(QStringLiteral("[\\x{FE70}-\\x{FEFC}]"));
        QVERIFY2(raw.contains(joined), "no joined Arabic letter forms in the PDF");
    }

    void firstPageRendersForALook()
    {
        const QString pdf = QDir(QStringLiteral(PAYSLIP_BUILD_DIR)).filePath(QStringLiteral("startup-slip.pdf"));
        QVERIFY(report::WriteSlipPdf(StartUpSlip(), Printed(QDate::currentDate()), pdf));
        const QString prefix = QDir(QStringLiteral(PAYSLIP_BUILD_DIR)).filePath(QStringLiteral("startup-slip"));
        QFile::remove(prefix + QStringLiteral(".png"));
        QProcess p;
        p.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-singlefile"), pdf, prefix});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        QVERIFY(page.height() > page.width()); // A4 portrait
        // Not blank: dark text and the highlighted lines are there.
        int dark = 0, cyan = 0;
        for (int y = 0; y < page.height(); y += 2)
            for (int x = 0; x < page.width(); x += 2) {
                QColor c = page.pixelColor(x, y);
                if (c.lightness() < 80) ++dark;
                if (c.red() < 160 && c.green() > 220 && c.blue() > 220) ++cyan;
            }
        QVERIFY(dark > 500);
        QVERIFY(cyan > 200);
        // One page is enough for the whole slip.
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    }

    void pdfWritesOnlyTheNamedFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("mine.pdf"));
        QVERIFY(report::WriteSlipPdf(StartUpSlip(), Printed(QDate::currentDate()), pdf));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("mine.pdf")});
        QVERIFY(!report::WriteSlipPdf(StartUpSlip(), Printed(QDate::currentDate()), dir.filePath(QStringLiteral("no/such/dir/x.pdf"))));
    }

    void commandLineWritesTheSamePdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("cli.pdf"));
        std::ostringstream out, err;
        QCOMPARE(cli::Run({"--pdf", pdf.toStdString(), "--no-mutual"}, out, err), 0);
        QVERIFY(err.str().empty());
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("44003.59")));
        QVERIFY(text.contains(QStringLiteral("غير مشترك")));

        std::ostringstream out2, err2;
        QCOMPARE(cli::Run({"--pdf", dir.filePath(QStringLiteral("no/dir/x.pdf")).toStdString()}, out2, err2), 1);
        QVERIFY(out2.str().empty());
        QVERIFY(err2.str().find("cannot write") != std::string::npos);
    }

    void copiedTextHoldsEveryLine()
    {
        const paycalc::MemoryForm form = StartUpSlip();
        const QString text = report::SlipText(form);
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), static_cast<qsizetype>(paycalc::kSlipLines.size()));
        for (std::size_t i = 0; i < paycalc::kSlipLines.size(); ++i) {
            const Field f = paycalc::kSlipLines[i];
            QVERIFY(lines[static_cast<qsizetype>(i)].contains(Utf8(paycalc::FieldTitle(f))));
            QVERIFY(lines[static_cast<qsizetype>(i)].contains(Utf8(form.Text(f))));
        }
    }
};

QTEST_MAIN(SlipReportTest)
#include "tst_slip_report.moc"
