// A picture drawn from an SVG resource, stretched to fill the widget: on a
// screen of one pixel per device pixel from a PNG rendered beforehand (the
// start-up draws no SVG), elsewhere from the SVG rendered once in the background.
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

// A PNG file or resource (a null image if missing or not a PNG), read by Qt's
// own PNG reader: unnamed, the format would first be asked of every
// image-format plugin, which the start-up would pay for.
QImage ReadPng(const QString &path);

} // namespace paywindow
