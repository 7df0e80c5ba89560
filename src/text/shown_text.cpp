#include "text/shown_text.h"

#include <cstdint>

#include "text/cp1252.h"

namespace zarvek {

namespace {

constexpr std::string_view kControlNames[32] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF", "VT",  "FF", "CR",  "SO",  "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS", "GS", "RS", "US"};

// The five bytes Windows-1252 leaves undefined stand for invisible C1 controls.
bool IsUndefinedInCp1252(uint8_t b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

std::string Visible(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string plain, shown;
  const auto flush = [&] {
    shown += Cp1252ToUtf8(plain);
    plain.clear();
  };
  for (const char ch : bytes) {
    const auto b = static_cast<uint8_t>(ch);
    if (b < 32 || b == 0x7F || IsUndefinedInCp1252(b)) {
      flush();
      shown += '<';
      if (b < 32) shown += kControlNames[b];
      else if (b == 0x7F) shown += "DEL";
      else shown += {kHex[b >> 4], kHex[b & 15]};
      shown += '>';
    } else {
      plain.push_back(ch);
    }
  }
  flush();
  return shown;
}

}  // namespace

std::string ShownText(std::string_view cp1252, TCutAt cut, size_t limit) {
  if (cp1252.size() <= limit) return Visible(cp1252);
  if (cut == TCutAt::End) return Visible(cp1252.substr(0, limit)) + "…";
  return "…" + Visible(cp1252.substr(cp1252.size() - limit));
}

}  // namespace zarvek
