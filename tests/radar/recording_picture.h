#pragma once
// A radar picture that records every operation in order, for checking frames
// without a window.

#include <cmath>
#include <string>
#include <vector>

#include "radar/canvas.h"
#include "radar/radar_picture.h"

namespace ovelsk::test {

struct DrawOp {
    enum Kind { Clear, Show, PenWidth, PenColour, MoveTo, LineTo, Point, Circle };
    Kind kind;
    float x = 0;
    float y = 0;
    float radius = 0;
    int width = 0;
    Colour colour{};
};

class RecordingPicture : public RadarPicture, public Canvas {
public:
    Canvas& clear() override {
        record({DrawOp::Clear});
        return *this;
    }
    void showFrame() override { record({DrawOp::Show}); }
    void setPenWidth(int pixels) override { record({.kind = DrawOp::PenWidth, .width = pixels}); }
    void setPenColour(Colour colour) override { record({.kind = DrawOp::PenColour, .colour = colour}); }
    void moveTo(float x, float y) override { record({DrawOp::MoveTo, x, y}); }
    void lineTo(float x, float y) override { record({DrawOp::LineTo, x, y}); }
    void plotPoint(float x, float y) override { record({DrawOp::Point, x, y}); }
    void circle(float x, float y, float radius) override { record({DrawOp::Circle, x, y, radius}); }

    std::vector<DrawOp> ops;

    std::vector<DrawOp> only(DrawOp::Kind kind) const {
        std::vector<DrawOp> found;
        for (const DrawOp& op : ops)
            if (op.kind == kind) found.push_back(op);
        return found;
    }

private:
    void record(const DrawOp& op) { ops.push_back(op); }
};

}  // namespace ovelsk::test
