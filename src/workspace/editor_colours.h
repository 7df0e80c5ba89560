// Syntax colours that stay readable on the editor background the user picks: a style
// colour too close to the background in lightness is made lighter or darker, keeping its
// hue and saturation, just far enough to reach a minimum contrast.
#pragma once

#include <cstdint>

namespace zarvek::workspace {

// Colours as the settings hold them: red in the low byte, green in the next, blue in the third.
inline constexpr int32_t kKeywordColour = 0x990000;    // dark blue
inline constexpr int32_t kStringColour = 0x000099;     // dark red
inline constexpr int32_t kNumberColour = 0x006600;     // dark green
inline constexpr int32_t kDirectiveColour = 0x660066;  // purple

// Contrast ratios (1 to 21): the colours of our own choosing must read as normal text; the
// user's own text and comment colours are kept unless they are plainly unreadable.
inline constexpr double kStyleContrast = 4.5;
inline constexpr double kUserColourContrast = 3.0;

// Relative luminance (0 black to 1 white) and the contrast ratio of two colours, as the
// usual accessibility rules define them.
double RelativeLuminance(int32_t colour);
double ContrastRatio(int32_t a, int32_t b);

// `colour` when it reaches `minimum` against `background`; otherwise the nearest lighter
// or darker colour of the same hue and saturation that does (the smaller change wins), or
// black or white when neither direction gets there.
int32_t ReadableColour(int32_t colour, int32_t background, double minimum);

struct TStyleColours {
  int32_t text = 0;
  int32_t comment = 0;
  int32_t keyword = kKeywordColour;
  int32_t string = kStringColour;
  int32_t number = kNumberColour;
  int32_t directive = kDirectiveColour;
};

// Every style colour of the editors for a background: the fixed ones at kStyleContrast,
// the user's text and comment colours at kUserColourContrast.
TStyleColours StyleColours(int32_t textColour, int32_t commentColour, int32_t background);

}  // namespace zarvek::workspace
