#pragma once
// Display scaling. The layouts are in pixels at 96 DPI (100 %), as the
// windows were designed; the windows place them at the display's DPI, so
// that a screen at 150 % shows them half as large again and sharp, rather
// than drawn at 96 DPI and stretched by Windows.

#include <cstddef>

namespace platform {

// The DPI the layouts and the plain pictures are drawn for.
constexpr int kDesignDpi = 96;

// Windows' small icons (SM_CXSMICON: captions, the notification area) at
// that DPI.
constexpr int kSmallIconSize = 16;

// `value` pixels at 96 DPI in pixels at `dpi`, rounded to the nearest
// pixel and halves away from zero, as Windows' MulDiv rounds: every size
// and place of every window goes through here, so that the same number
// gives the same pixels everywhere.
constexpr int ScaleToDpi(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                       : -((-product + half) / kDesignDpi));
}

// The scales, in percent, at which the pictures are kept: the plain ones at
// 100, and once more at 200 (resources/art), which 125 and 150 % draw down.
constexpr int kArtScales[] = {100, 200};

// The scale of the art to show at `dpi`, among `scales` (ascending): the
// smallest whose pictures are at least as large as the DPI asks, so that a
// picture is only ever drawn down, which keeps it sharp; above the largest
// scale, the largest.
template <std::size_t N>
constexpr int ArtScaleFor(int dpi, const int (&scales)[N]) {
  for (int scale : scales) {
    if (static_cast<long long>(scale) * kDesignDpi >= static_cast<long long>(dpi) * 100) {
      return scale;
    }
  }
  return scales[N - 1];
}

// The DPI at which art of `scale` percent shows pixel for pixel.
constexpr int DpiOfScale(int scale) { return scale * kDesignDpi / 100; }

}  // namespace platform
