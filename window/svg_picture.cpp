#include "window/svg_picture.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace paywindow {

namespace {

// Safe off the user-interface thread: it paints into an image only.
QImage Render(const QString &resource, QSize size, qreal ratio)
{
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size()))); // stretched
    painter.end();
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

SvgPicture::SvgPicture(const QString &resource, const QString &prerendered, const QRect &geometry, QWidget *parent)
    : QWidget(parent), resource_(resource), prerendered_(prerendered)
{
    setGeometry(geometry);
    const qreal ratio = QGuiApplication::primaryScreen() ? qGuiApp->devicePixelRatio() : 1.0;
    if (!qFuzzyCompare(ratio, 1.0)) rendering_ = std::async(std::launch::async, Render, resource_, geometry.size(), ratio);
}

SvgPicture::~SvgPicture()
{
    if (rendering_.valid()) rendering_.wait();
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    if (rendering_.valid()) rendered_ = QPixmap::fromImage(rendering_.get());
    const qreal ratio = devicePixelRatioF();
    if (rendered_.isNull() && qFuzzyCompare(ratio, 1.0)) rendered_ = QPixmap::fromImage(ReadPng(prerendered_));
    if (rendered_.isNull() || rendered_.deviceIndependentSize().toSize() != size() ||
        !qFuzzyCompare(rendered_.devicePixelRatio(), ratio)) // a screen of another ratio
        rendered_ = QPixmap::fromImage(Render(resource_, size(), ratio));
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered_);
}

QImage RenderSvg(const QString &resource, QSize size)
{
    return Render(resource, size, 1.0);
}

QImage ReadPng(const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace paywindow
