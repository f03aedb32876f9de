#pragma once
// The headers every answer of the status page carries, refusals included:
// scripts, styles and pictures only from the page itself, never inside a frame
// of another page, no guessing at content types, no caching.

#include <array>
#include <utility>

namespace ovelsk {

inline constexpr std::array<std::pair<const char*, const char*>, 4> kSafetyHeaders{{
    {"Content-Security-Policy", "default-src 'self'; img-src 'self'; frame-ancestors 'none'"},
    {"X-Frame-Options", "DENY"},
    {"X-Content-Type-Options", "nosniff"},
    {"Cache-Control", "no-store"},
}};

}  // namespace ovelsk
