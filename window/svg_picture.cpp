#include "window/svg_picture.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#ifndef PAYSLIP_NO_SVG
#include <QSvgRenderer>
#endif

namespace paywindow {

namespace {

// Safe off the user-interface thread: it paints into an image only.
QImage Render(const QString &resource, const QString &prerendered, QSize size, qreal ratio)
{
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
#ifndef PAYSLIP_NO_SVG
    (void)prerendered;
    QSvgRenderer renderer(resource);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size()))); // stretched
#else
    // A Qt without its SVG module: the PNG rendered beforehand, scaled.
    (void)resource;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image.size())), ReadPng(prerendered));
#endif
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
    if (!qFuzzyCompare(ratio, 1.0))
        rendering_ = std::async(std::launch::async, Render, resource_, prerendered_, geometry.size(), ratio);
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
        rendered_ = QPixmap::fromImage(Render(resource_, prerendered_, size(), ratio));
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered_);
}

QImage RenderSvg(const QString &resource, QSize size) { return Render(resource, {}, size, 1.0); }

QImage ReadPng(const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace paywindow
