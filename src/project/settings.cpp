#include "project/settings.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "project/file_io.h"
#include "project/integer_text.h"
#include "text/lines.h"

namespace zarvek {

namespace {

struct TEntry {
  std::string name;
  std::function<std::string(const TSettings&)> write;
  std::function<void(TSettings&, const std::string& value)> read;  // null: written only
};

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

TEntry Integer(std::string name, int32_t TSettings::*field, bool readable = true) {
  TEntry e{std::move(name), [field](const TSettings& s) { return std::to_string(s.*field); }, nullptr};
  if (readable)
    e.read = [field](TSettings& s, const std::string& v) {
      if (const auto n = ParseInteger(v)) s.*field = *n;
    };
  return e;
}

TEntry Text(std::string name, std::string TSettings::*field) {
  return {std::move(name), [field](const TSettings& s) { return s.*field; },
          [field](TSettings& s, const std::string& v) { s.*field = v; }};
}

TEntry OptionBit(std::string name, uint8_t bit) {
  return {std::move(name), [bit](const TSettings& s) { return std::string((s.options & bit) ? "1" : "0"); },
          [bit](TSettings& s, const std::string& v) {
            if (const auto n = ParseInteger(v)) s.options = static_cast<uint8_t>(*n != 0 ? s.options | bit : s.options & ~bit);
          }};
}

const std::vector<TEntry>& Entries() {
  static const std::vector<TEntry> entries = [] {
    std::vector<TEntry> e{
        Text("[Font Name]", &TSettings::fontName),
        Integer("[Font Size]", &TSettings::fontSize),
        Integer("[Font Color]", &TSettings::fontColor),
        Integer("[Comment Color]", &TSettings::commentColor),
        Integer("[Error Color]", &TSettings::errorColor),
        Integer("[Breakpoint Color]", &TSettings::breakpointColor),
        Integer("[Breakpoint Background]", &TSettings::breakpointBackground),
        Integer("[Breakpoint Panel]", &TSettings::gutterColor, false),
        {"[Background]", [](const TSettings& s) { return std::to_string(s.background); },
         [](TSettings& s, const std::string& v) {
           if (const auto n = ParseInteger(v)) s.background = s.gutterColor = *n;
         }},
        Integer("[Run Color]", &TSettings::runColor),
        Integer("[Run Background]", &TSettings::runBackground),
        Integer("[Color]", &TSettings::gridColor, false),
        Integer("[Console Text]", &TSettings::consoleText),
        Integer("[Console Color]", &TSettings::consoleColor),
        Text("[Recent File]", &TSettings::recentFile),
        OptionBit("[ASM Code Propose]", option::AsmCodePropose),
        OptionBit("[Syntax Test]", option::SyntaxTest),
        OptionBit("[Warnings]", option::Warnings),
        OptionBit("[Autostart]", option::Autostart),
        OptionBit("[MC Init]", option::McInit),
        Text("[COM]", &TSettings::com),
        Text("[Baud]", &TSettings::baud),
        Integer("[Vertical]", &TSettings::vertical),
        Integer("[Horizontal]", &TSettings::horizontal),
        Integer("[Left]", &TSettings::left),
        Integer("[Top]", &TSettings::top),
        Integer("[Width]", &TSettings::width),
        Integer("[Height]", &TSettings::height),
        {"[Maximized]", [](const TSettings& s) { return std::string(s.maximized ? "1" : "0"); },
         [](TSettings& s, const std::string& v) { s.maximized = v == "1"; }},
        {"[Profile]", [](const TSettings& s) { return std::to_string(ProfileCode(s.profile)); },
         [](TSettings& s, const std::string& v) {
           if (const auto n = ParseInteger(v))
             s.profile = *n == 1   ? TProfile::TesselMicro
                         : *n == 4 ? TProfile::Pyxon32
                         : *n == 5 ? TProfile::Pyxon128
                                   : TProfile::Tessel11;
         }},
        Text("[File]", &TSettings::file),
    };
    for (size_t k = 0; k < 4; ++k)
      e.push_back({"[File" + std::to_string(k) + "]", [k](const TSettings& s) { return s.recentFiles[k]; },
                   [k](TSettings& s, const std::string& v) { s.recentFiles[k] = v; }});
    return e;
  }();
  return entries;
}

// The value of the first line whose name matches.
std::optional<std::string> Lookup(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && SameName(std::string_view(line).substr(0, eq), name)) return line.substr(eq + 1);
  }
  return std::nullopt;
}

}  // namespace

void ReadSettings(std::string_view text, TSettings& settings) {
  const std::vector<std::string> lines = SplitLines(text);
  for (const TEntry& e : Entries())
    if (e.read)
      if (const auto value = Lookup(lines, e.name)) e.read(settings, *value);
  // The controller initialisation must be asked for anew in every session.
  settings.options &= static_cast<uint8_t>(~option::McInit);
  settings.horizontal = std::max(settings.horizontal, kMinimumBottomPanel);
}

std::string WriteSettings(const TSettings& settings) {
  std::string text;
  for (const TEntry& e : Entries()) text += e.name + "=" + e.write(settings) + "\r\n";
  return text;
}

bool ReadSettingsFile(const std::string& path, TSettings& settings) {
  const TFileContent file = ReadFileBytes(path, filelimit::kSettingsFile);
  if (file.status != TReadStatus::Ok) return false;
  ReadSettings(file.bytes, settings);
  return true;
}

bool WriteSettingsFile(const std::string& path, const TSettings& settings) {
  return WriteFileReplacing(path, WriteSettings(settings));
}

}  // namespace zarvek
