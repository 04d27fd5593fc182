#include "report/page.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>
#include <QTextTable>

#include <algorithm>
#include <cstdio>

#ifndef PAYSLIP_VERSION
#error "PAYSLIP_VERSION must name the program's version"
#endif

namespace report {

QPageLayout A4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 10, 12, 10),
                       QPageLayout::Millimeter);
}

namespace {

void TablesLeftToRight(QTextFrame *frame)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QTextTableFormat format = table->format();
            format.setLayoutDirection(Qt::LeftToRight);
            table->setFormat(format);
        }
        TablesLeftToRight(child);
    }
}

} // namespace

void SetPrintHtml(QTextDocument &document, qreal points, const QString &html)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    document.setDefaultTextOption(option);
    document.setHtml(html);
    TablesLeftToRight(document.rootFrame());
}

QString Creator() { return QStringLiteral("payslip " PAYSLIP_VERSION); }

QString TableRow(QStringList cells, const QString &attributes)
{
    std::reverse(cells.begin(), cells.end());
    return QStringLiteral("<tr%1>%2</tr>")
        .arg(attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes, cells.join(QString()));
}

QString CannotWrite(const QString &path, const QString &why)
{
    return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), why);
}

PdfFile::PdfFile(const QString &path, const QString &title) : path_(path)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly)) {
        fail(file_.errorString());
        return;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setTitle(title);
    writer_->setCreator(Creator());
    writer_->setResolution(300);
    writer_->setPageLayout(A4Layout());
}

PdfFile::~PdfFile() = default;

void PdfFile::fail(const QString &why)
{
    if (error_.isEmpty()) error_ = CannotWrite(path_, why);
}

bool PdfFile::discard(QString *error)
{
    writer_.reset();
    file_.cancelWriting();
    if (error) *error = error_;
    return false;
}

bool PdfFile::commit(QString *error)
{
    if (failed()) return discard(error);
    // The writer hands the end of the document to the file as it goes.
    writer_.reset();
    // The writer reports nothing itself: the file knows whether every byte went out.
    if (file_.error() != QFileDevice::NoError) fail(file_.errorString());
    else if (file_.size() == 0) fail(QStringLiteral("nothing was written"));
    if (failed()) return discard(error);
    // Flushes, checks every write, and only then renames over the target.
    if (file_.commit()) return true;
    const QString why = file_.errorString();
    fail(why.isEmpty() ? QStringLiteral("the file could not be put in place") : why);
    return discard(error);
}

void EnsureGuiApplication(const char *program)
{
    if (QGuiApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    // On Windows the offscreen platform reads fonts with FreeType from a
    // folder, by default one beside the Qt libraries that the program does
    // not ship: point it at the system's fonts, or the PDF has no text.
    if (!qEnvironmentVariableIsSet("QT_QPA_FONTDIR") && qEnvironmentVariableIsSet("WINDIR"))
        qputenv("QT_QPA_FONTDIR", (qEnvironmentVariable("WINDIR") + QStringLiteral("\\Fonts")).toUtf8());
#endif
    static const char *name = program;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s: %s\n", name, qPrintable(message));
    });
    static int argc = 1;
    static char argv0[64];
    std::snprintf(argv0, sizeof argv0, "%s", program);
    static char *argv[] = {argv0, nullptr};
    new QGuiApplication(argc, argv); // lives as long as the program
}

} // namespace report
