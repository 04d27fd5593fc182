// A picture drawn from an SVG resource, stretched to fill the widget. It is
// rendered once, in the background from the moment the widget is made, and
// painted from memory from then on.
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
    SvgPicture(const QString &resource, const QRect &geometry, QWidget *parent = nullptr);
    ~SvgPicture() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString resource_;
    std::future<QImage> rendering_;
    QPixmap rendered_;
};

// A window icon drawn from an SVG resource at `pixels` × `pixels`; safe off
// the user-interface thread.
QImage RenderIcon(const QString &resource, int pixels);

} // namespace paywindow
