// Renders the window icon's SVG into the PNG sizes of the hicolor icon theme
// and into a Windows .ico, at build time.
//   render_icons ICON.svg OUTPUT_DIR BASENAME
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_icons ICON.svg OUTPUT_DIR BASENAME\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icons: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const QString base = QString::fromLocal8Bit(argv[3]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString png = QStringLiteral("%1/%2x%2/%3.png").arg(dir).arg(size).arg(base);
        if (!image.save(png) || (size == 256 && !image.save(QStringLiteral("%1/%2.ico").arg(dir, base), "ICO"))) {
            std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
