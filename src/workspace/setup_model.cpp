#include "workspace/setup_model.h"

#include <charconv>

namespace zarvek::workspace {

namespace {
constexpr std::array<std::string_view, 4> kOptionItems{
    "Assembler Programmierhilfe verwenden", "Fehler im Quelltext während der Eingabe zeigen",
    "Warnungen und Hinweise anzeigen", "Emulation Start Impuls (500ms) anstelle Autostart"};
constexpr std::array<std::string_view, 9> kSizes{"7", "8", "9", "10", "11", "12", "13", "14", "15"};
const std::array<TColourEntry, 11> kColours{{
    {"Text", &TSettings::fontColor},
    {"Text Hintergrund", &TSettings::background},
    {"Kommentar Text", &TSettings::commentColor},
    {"Fehler Textfarbe", &TSettings::errorColor},
    {"Haltepunkt Textfarbe", &TSettings::breakpointColor},
    {"Haltepunkt Hintergrund", &TSettings::breakpointBackground},
    {"Haltepunkt Leiste", &TSettings::gutterColor},
    {"Ausführen Textfarbe", &TSettings::runColor},
    {"Ausführen Hintergrundfarbe", &TSettings::runBackground},
    {"Konsole Text", &TSettings::consoleText},
    {"Konsole Hintergrund", &TSettings::consoleColor},
}};
}  // namespace

std::span<const std::string_view> OptionItems() { return kOptionItems; }

std::array<bool, 4> OptionChecks(uint8_t options) {
  return {(options & option::AsmCodePropose) != 0, (options & option::SyntaxTest) != 0,
          (options & option::Warnings) != 0, (options & option::Autostart) == 0};
}

uint8_t OptionsFromChecks(const std::array<bool, 4>& checks, uint8_t options) {
  const uint8_t bits[3] = {option::AsmCodePropose, option::SyntaxTest, option::Warnings};
  for (size_t i = 0; i < 3; ++i) options = checks[i] ? (options | bits[i]) : (options & ~bits[i]);
  return checks[3] ? (options & ~option::Autostart) : (options | option::Autostart);
}

std::span<const std::string_view> FontSizes() { return kSizes; }

int FontSizeIndex(int size) {
  for (size_t i = 0; i < kSizes.size(); ++i)
    if (kSizes[i] == std::to_string(size)) return static_cast<int>(i);
  return 0;
}

int FontSizeFromText(std::string_view text) {
  int size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() && end == text.data() + text.size() && size > 0 ? size : 8;
}

bool IsFixedPitch(const std::function<int(std::string_view)>& width) { return width("i") == width("W"); }

std::span<const TColourEntry> ColourEntries() { return kColours; }

void SetColour(TSettings& settings, size_t entry, int32_t colour) {
  if (entry >= kColours.size()) return;
  settings.*kColours[entry].field = colour;
  if (kColours[entry].field == &TSettings::background) settings.gutterColor = colour;
}

}  // namespace zarvek::workspace
