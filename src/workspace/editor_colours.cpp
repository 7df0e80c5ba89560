#include "workspace/editor_colours.h"

#include <algorithm>
#include <cmath>

namespace zarvek::workspace {

namespace {

struct THsl {
  double h = 0, s = 0, l = 0;  // hue 0..6 (sixths of the circle), saturation and lightness 0..1
};

double Channel(int32_t colour, int shift) { return ((colour >> shift) & 0xFF) / 255.0; }

THsl ToHsl(int32_t colour) {
  const double r = Channel(colour, 0), g = Channel(colour, 8), b = Channel(colour, 16);
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  THsl c;
  c.l = (high + low) / 2;
  const double d = high - low;
  if (d <= 0) return c;
  c.s = d / (1 - std::fabs(2 * c.l - 1));
  if (high == r) c.h = std::fmod((g - b) / d + 6, 6);
  else if (high == g) c.h = (b - r) / d + 2;
  else c.h = (r - g) / d + 4;
  return c;
}

int32_t FromHsl(const THsl& c) {
  const double chroma = (1 - std::fabs(2 * c.l - 1)) * c.s;
  const double x = chroma * (1 - std::fabs(std::fmod(c.h, 2) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(c.h) % 6) {
    case 0: r = chroma; g = x; break;
    case 1: r = x; g = chroma; break;
    case 2: g = chroma; b = x; break;
    case 3: g = x; b = chroma; break;
    case 4: r = x; b = chroma; break;
    default: r = chroma; b = x; break;
  }
  const double m = c.l - chroma / 2;
  const auto byte = [](double v) { return static_cast<int32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return byte(r + m) | byte(g + m) << 8 | byte(b + m) << 16;
}

// The least change of lightness towards `target` (0 or 1) that reaches `minimum`; nothing
// when even the end of that way does not. Each channel grows with the lightness, and so
// does the contrast along one way, which makes halving the interval sound.
bool Search(const THsl& from, double target, int32_t background, double minimum, int32_t& found) {
  THsl end = from;
  end.l = target;
  if (ContrastRatio(FromHsl(end), background) < minimum) return false;
  double near = from.l, far = target;
  for (int step = 0; step < 24; ++step) {
    THsl middle = from;
    middle.l = (near + far) / 2;
    if (ContrastRatio(FromHsl(middle), background) >= minimum) far = middle.l;
    else near = middle.l;
  }
  end.l = far;
  found = FromHsl(end);
  return true;
}

}  // namespace

double RelativeLuminance(int32_t colour) {
  const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(Channel(colour, 0)) + 0.7152 * linear(Channel(colour, 8)) + 0.0722 * linear(Channel(colour, 16));
}

double ContrastRatio(int32_t a, int32_t b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int32_t ReadableColour(int32_t colour, int32_t background, double minimum) {
  colour &= 0xFFFFFF;
  background &= 0xFFFFFF;
  if (ContrastRatio(colour, background) >= minimum) return colour;
  const THsl hsl = ToHsl(colour);
  int32_t lighter = 0, darker = 0;
  const bool up = Search(hsl, 1.0, background, minimum, lighter);
  const bool down = Search(hsl, 0.0, background, minimum, darker);
  if (up && down) return ToHsl(lighter).l - hsl.l <= hsl.l - ToHsl(darker).l ? lighter : darker;
  if (up) return lighter;
  if (down) return darker;
  return ContrastRatio(0xFFFFFF, background) >= ContrastRatio(0, background) ? 0xFFFFFF : 0;
}

TStyleColours StyleColours(int32_t textColour, int32_t commentColour, int32_t background) {
  TStyleColours c;
  c.text = ReadableColour(textColour, background, kUserColourContrast);
  c.comment = ReadableColour(commentColour, background, kUserColourContrast);
  c.keyword = ReadableColour(kKeywordColour, background, kStyleContrast);
  c.string = ReadableColour(kStringColour, background, kStyleContrast);
  c.number = ReadableColour(kNumberColour, background, kStyleContrast);
  c.directive = ReadableColour(kDirectiveColour, background, kStyleContrast);
  return c;
}

}  // namespace zarvek::workspace
