#pragma once
// A radar picture that writes down every operation in order, coordinates to
// 0.01 twip ("move 1350.49 360.00"), for checking frames without a window.

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "radar/canvas.h"
#include "radar/radar_picture.h"

namespace ovelsk::test {

class RecordingPicture : public RadarPicture, public Canvas {
public:
    Canvas& clear() override {
        ops.emplace_back("clear");
        return *this;
    }
    void showFrame() override { ops.emplace_back("show"); }
    void setPenWidth(int pixels) override { ops.push_back("width " + std::to_string(pixels)); }
    void setPenColour(Colour c) override {
        ops.push_back("colour " + std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue));
    }
    void moveTo(float x, float y) override { record("move %.2f %.2f", x, y); }
    void lineTo(float x, float y) override { record("line %.2f %.2f", x, y); }
    void plotPoint(float x, float y) override {
        record("point %.2f %.2f", x, y);
        points.push_back({x, y});
    }
    void circle(float x, float y, float radius) override { record("circle %.2f %.2f %.2f", x, y, radius); }

    // The operations whose text starts with `kind`.
    std::vector<std::string> only(std::string_view kind) const {
        std::vector<std::string> found;
        for (const std::string& op : ops)
            if (op.starts_with(kind)) found.push_back(op);
        return found;
    }
    void forget() {
        ops.clear();
        points.clear();
    }

    std::vector<std::string> ops;
    std::vector<std::array<float, 2>> points;

private:
    template <typename... Coordinates>
    void record(const char* format, Coordinates... twips) {
        char text[160];
        std::snprintf(text, sizeof text, format, static_cast<double>(twips)...);
        ops.emplace_back(text);
    }
};

}  // namespace ovelsk::test
