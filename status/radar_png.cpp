#include "status/radar_png.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <array>

#include "radar/draw_radar.h"
#include "radar/painter_canvas.h"
#include "radar/radar_sweep.h"

namespace ovelsk {
namespace {

constexpr auto kRedrawEvery = std::chrono::seconds(1);
constexpr auto kSweepStep = std::chrono::milliseconds(70);
constexpr int kSweepSteps = 361;  // 0 to 360 degrees
// The window's radar surface, Picture3: 2895 by 3015 twips.
constexpr QSize kPictureSize{2895 / 15, 3015 / 15};

}  // namespace

RadarPng::RadarPng(std::function<std::string()> rangeText, const StationTable& stations)
    : rangeText_(std::move(rangeText)), stations_(stations), started_(std::chrono::steady_clock::now()) {}

const QByteArray& RadarPng::png(SteadyTime now) {
    if (!png_.isEmpty() && now - drawnAt_ < kRedrawEvery) return png_;
    drawnAt_ = now;

    std::array<float, 25> samples{};
    samples.fill(kNoSample);
    samples[0] = static_cast<float>((now - started_) / kSweepStep % kSweepSteps);

    QImage image(kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        const std::string range = rangeText_();
        DrawRadar({canvas, range, stations_}, kRadarTop, kRadarLeft, kRadarBottom, kRadarRight, samples);
    }
    png_.clear();
    QBuffer buffer(&png_);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png_;
}

}  // namespace ovelsk
