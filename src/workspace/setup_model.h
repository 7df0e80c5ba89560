// What the settings dialog "Einstellungen" changes: the option check list, the font sizes
// and the colour entries with the settings each one sets.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "project/settings.h"

namespace zarvek::workspace {

inline constexpr std::string_view kSetupCaption = "Einstellungen";
inline constexpr std::string_view kDisplayPage = "Anzeigeoptionen";
inline constexpr std::string_view kCompilerPage = "Compiler";
inline constexpr std::string_view kFontGroup = " Schriftart und Größe ";
inline constexpr std::string_view kColourGroup = " Farben ";
inline constexpr std::string_view kPreviewNote = "Vorschau im Hauptfenster";

// The four items of the compiler page, in order.
std::span<const std::string_view> OptionItems();
// Item 3 carries its check mark exactly when option bit 3 is clear.
std::array<bool, 4> OptionChecks(uint8_t options);
uint8_t OptionsFromChecks(const std::array<bool, 4>& checks, uint8_t options);

// "7" to "15".
std::span<const std::string_view> FontSizes();
// The entry of a size, 0 when it is not listed.
int FontSizeIndex(int size);
// The size an entry's text gives, 8 when it is no number.
int FontSizeFromText(std::string_view text);

// A font counts as fixed-pitch when "i" and "W" are equally wide in it.
bool IsFixedPitch(const std::function<int(std::string_view)>& width);

struct TColourEntry {
  std::string_view name;
  int32_t TSettings::*field;
};
// "Text", "Text Hintergrund", ... in the list's order.
std::span<const TColourEntry> ColourEntries();
// Sets an entry's colour; the background also colours the gutters, as at start.
void SetColour(TSettings& settings, size_t entry, int32_t colour);

}  // namespace zarvek::workspace
