#include "radar/painter_canvas.h"

#include <cmath>

#include <QPainterPath>
#include <QPen>
#include <QRectF>

namespace ovelsk {
namespace {

constexpr double kTwipsPerPixel = 15;

// A twip position as a point on the pixel grid. Twip 0 is the centre of pixel 0,
// so a pen of whole pixels on a whole-pixel position covers whole pixels.
QPointF twipsToPixels(float x, float y) { return {x / kTwipsPerPixel + 0.5, y / kTwipsPerPixel + 0.5}; }

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing);
}

void PainterCanvas::setPenWidth(int pixels) { penPixels_ = pixels; }

void PainterCanvas::setPenColour(Colour colour) { penColour_ = QColor(colour.red, colour.green, colour.blue); }

void PainterCanvas::moveTo(float x, float y) { position_ = twipsToPixels(x, y); }

void PainterCanvas::lineTo(float x, float y) {
    const QPointF to = twipsToPixels(x, y);
    painter_.setPen(pen());
    painter_.drawLine(position_, to);
    position_ = to;
}

void PainterCanvas::plotPoint(float x, float y) {
    const QPointF centre = twipsToPixels(x, y);
    const double dotRadius = penPixels_ / 2.0;
    // A station far beyond the range lies far off the picture; the rasteriser is
    // spared coordinates it cannot see.
    const QRectF dot(centre.x() - dotRadius, centre.y() - dotRadius, 2 * dotRadius, 2 * dotRadius);
    const QPaintDevice& device = *painter_.device();
    const QRectF visible(0, 0, device.width() / device.devicePixelRatioF(), device.height() / device.devicePixelRatioF());
    if (!dot.intersects(visible)) return;
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(penColour_);
    painter_.drawEllipse(dot);
}

void PainterCanvas::circle(float x, float y, float radius) {
    // The band the pen covers along the outline, filled directly: a stroked outline
    // narrower than its pen would leave a hole in the middle, where the pen covers it.
    const QPointF centre = twipsToPixels(x, y);
    const double pixels = std::abs(radius / kTwipsPerPixel);
    const double outer = pixels + penPixels_ / 2.0;
    const double inner = pixels - penPixels_ / 2.0;
    QPainterPath band;
    band.setFillRule(Qt::OddEvenFill);
    band.addEllipse(centre, outer, outer);
    if (inner > 0) band.addEllipse(centre, inner, inner);
    painter_.fillPath(band, penColour_);
}

QPen PainterCanvas::pen() const { return QPen(penColour_, penPixels_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

}  // namespace ovelsk
