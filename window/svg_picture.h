// A picture drawn from an SVG resource, stretched to fill the widget. On a
// screen of one pixel per device pixel it is painted from a PNG rendered
// from the SVG beforehand at the widget's size (the start-up draws no SVG);
// on any other screen the SVG is rendered once, in the background from the
// moment the widget is made, and painted from memory from then on.
// Drawing only: no input and nothing of the slip.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <future>

namespace paywindow {

class SvgPicture final : public QWidget {
    Q_OBJECT

public:
    // `prerendered`: the PNG of `resource` at `geometry`'s size.
    SvgPicture(const QString &resource, const QString &prerendered, const QRect &geometry, QWidget *parent = nullptr);
    ~SvgPicture() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString resource_;
    QString prerendered_;
    std::future<QImage> rendering_;
    QPixmap rendered_;
};

// An SVG resource drawn at `size` pixels, stretched; safe off the
// user-interface thread.
QImage RenderSvg(const QString &resource, QSize size);

// A PNG file or resource, read by Qt's own PNG reader. Reading without
// naming the format would first load every image-format plugin (SVG, GIF,
// ICO, JPEG ...) to ask whether it reads PNGs too; the start-up would pay
// for all of them. A null image if the file is missing or not a PNG.
QImage ReadPng(const QString &path);

} // namespace paywindow
