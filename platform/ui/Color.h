#pragma once
// A colour as the declared properties give it (#RRGGBB).
#include <cstdint>

namespace fw {

struct Color {
  uint8_t Red = 0, Green = 0, Blue = 0;
  constexpr bool operator==(const Color&) const = default;
};

constexpr Color RGB(int r, int g, int b) { return Color{uint8_t(r), uint8_t(g), uint8_t(b)}; }
// From a 0xRRGGBB value.
constexpr Color HexColor(uint32_t rgb) { return RGB(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF); }

}  // namespace fw
