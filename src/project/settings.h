// The settings file ("Zarvek.ini" beside the program): one "[Name]=value" line per entry,
// read once at start and written whole when the main window closes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/profile.h"

namespace zarvek {

namespace option {
inline constexpr uint8_t AsmCodePropose = 1 << 0;
inline constexpr uint8_t SyntaxTest = 1 << 1;
inline constexpr uint8_t Warnings = 1 << 2;
inline constexpr uint8_t Autostart = 1 << 3;
inline constexpr uint8_t McInit = 1 << 4;
inline constexpr uint8_t All = 31;
}  // namespace option

// The bottom panel (under the editors) is never lower than this.
inline constexpr int32_t kMinimumBottomPanel = 150;

// Colours hold red in the low byte, green in the next, blue in the third. The fields whose
// default is the editor's or the console's own are set by the IDE before reading.
struct TSettings {
  std::string fontName = "Courier New";
  int32_t fontSize = 10;
  int32_t fontColor = 0;
  int32_t commentColor = 0x808080;
  int32_t errorColor = 5375;               // red 255, green 20, blue 0
  int32_t breakpointColor = 0;
  int32_t breakpointBackground = 9218815;  // red 255, green 170, blue 140
  int32_t gutterColor = 16777215;          // written as "[Breakpoint Panel]", never read
  int32_t background = 16777215;
  int32_t runColor = 0;
  int32_t runBackground = 65535;
  int32_t gridColor = 16777215;            // written as "[Color]", never read
  int32_t consoleText = 0;
  int32_t consoleColor = 16777215;
  std::string recentFile;
  uint8_t options = option::All;
  std::string com;   // empty: no port chosen
  std::string baud;  // empty: no rate chosen
  int32_t vertical = 150;
  int32_t horizontal = 150;
  int32_t left = 0, top = 0, width = 640, height = 480;
  bool maximized = false;
  TProfile profile = profile::Tessel11;
  std::string file;
  std::array<std::string, 4> recentFiles;  // newest first

  bool operator==(const TSettings&) const = default;
};

// Applies the entries a settings text holds to `settings`: names match without regard to
// case, the first match wins, a missing entry or a value that is no integer leaves the
// value as it was. The background also colours the gutters; the profile takes only 1, 4
// and 5 (anything else is 0); the controller initialisation is off after every start; the
// bottom panel is at least 150 high.
void ReadSettings(std::string_view text, TSettings& settings);
// Every entry in its fixed order, each line ended by CR LF.
std::string WriteSettings(const TSettings& settings);

// False (settings unchanged) when the file cannot be read.
bool ReadSettingsFile(const std::string& path, TSettings& settings);
bool WriteSettingsFile(const std::string& path, const TSettings& settings);

}  // namespace zarvek
