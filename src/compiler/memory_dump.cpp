// The token view's picture of the variable memories: which bytes the allocation has
// handed out, map by map, so that a user can see where the compiler put a variable.
#include "compiler/driver.h"

namespace zarvek {

namespace {

constexpr size_t kShownBytes = 1000;

// The first bytes of a map, each in decimal followed by a blank. A procedure's map is only
// as large as its frame; the bytes behind it are free, as in every other map.
void AppendBytes(std::string& text, const TMemoryMap& map) {
  for (size_t k = 0; k < kShownBytes; ++k) {
    text += std::to_string(k < map.bytes.size() ? map.bytes[k] : 0);
    text += ' ';
  }
}

std::string OwnerName(const TCompilerContext& c, int32_t owner) {
  return owner >= 0 && static_cast<size_t>(owner) < c.symbols.size() ? c.symbols[static_cast<size_t>(owner)].name
                                                                      : std::string();
}

}  // namespace

std::string MemoryDumpText(const TCompilerContext& c, size_t imageLength) {
  if (imageLength >= kMemoryDumpImageLimit) return {};
  std::string text = "---- globaler Variablen Speicher ---\r\n";
  if (!c.Pyxon() || c.memoryMaps.empty()) return text;
  AppendBytes(text, c.memoryMaps[0]);
  bool localSeen = false;
  for (size_t k = 1; k < c.memoryMaps.size(); ++k) {
    std::string header;
    if (k == 1) {
      header = " - Extern EEPROM - ";
    } else if (k == 2) {
      header = " - Intern EEPROM - ";
    } else {
      if (!localSeen) text += "\r\n--- lokaler Variablen Speicher ---";
      localSeen = true;
      header = "  Prozedur " + OwnerName(c, c.memoryMaps[k].owner);
    }
    text += "\r\n" + header + "\r\n";
    AppendBytes(text, c.memoryMaps[k]);
  }
  return text;
}

}  // namespace zarvek
