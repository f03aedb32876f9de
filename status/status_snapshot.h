#pragma once
// What the status page serves of the running iGate, built on the event loop and
// then only read: every connection answers from the same snapshot.

#include <QByteArray>
#include <chrono>

namespace ovelsk {

struct StatusSnapshot {
    std::chrono::steady_clock::time_point built;
    QByteArray json;     // /api/status
    QByteArray metrics;  // /metrics
    QByteArray png;      // /radar.png
};

}  // namespace ovelsk
