#include "radar/radar_view.h"

#include <utility>

#include <QPalette>

namespace ovelsk {

RadarView::RadarView(QWidget* parent) : QWidget(parent) {
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

RadarView::~RadarView() {
    canvas_.reset();
    if (painter_.isActive()) painter_.end();
}

QSize RadarView::sizeHint() const { return {193, 201}; }

Canvas& RadarView::clear() {
    canvas_.reset();
    if (painter_.isActive()) painter_.end();
    // The image of the frame before last is reused while the widget keeps its size.
    const qreal ratio = devicePixelRatioF();
    if (drawing_.size() != size() * ratio || drawing_.devicePixelRatio() != ratio) {
        drawing_ = QImage(size() * ratio, QImage::Format_RGB32);
        drawing_.setDevicePixelRatio(ratio);
    }
    drawing_.fill(Qt::black);
    painter_.begin(&drawing_);
    return canvas_.emplace(painter_);
}

void RadarView::showFrame() {
    if (!painter_.isActive()) return;
    canvas_.reset();
    painter_.end();
    std::swap(shown_, drawing_);
    update();
}

void RadarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), shown_);
}

}  // namespace ovelsk
