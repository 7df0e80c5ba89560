#include <array>

#include "project/project.h"

namespace zarvek {

namespace {

using P = std::vector<std::pair<std::string_view, uint8_t>>;

const P kLedParameters{{"port", slotkind::Port}, {"bit", slotkind::Bit}, {"active", slotkind::Active}};

const std::array<TObjectClass, 8> kClasses{{
    {"led-red", objecttype::LedRed, 0, 32, kLedParameters},
    {"led-yellow", objecttype::LedYellow, 1, 33, kLedParameters},
    {"led-green", objecttype::LedGreen, 2, 34, kLedParameters},
    {"switch", objecttype::Switch, 6, 35, kLedParameters},
    {"analog-wheel", objecttype::AnalogWheel, 8, 36, {{"ad", slotkind::AdChannel}, {"value", slotkind::Value}}},
    {"analog-gauge", objecttype::AnalogGauge, 10, 37, {{"da", slotkind::DaChannel}}},
    {"interrupt", objecttype::Interrupt, 6, 47, {}},
    {"variable-numerical", objecttype::VariableNumerical, 100, 46, {}},
}};

constexpr std::array<TProfile, 5> kProfiles{TProfile::Tessel11, TProfile::TesselMicro, TProfile::Tessel20,
                                            TProfile::Pyxon32, TProfile::Pyxon128};

}  // namespace

std::string_view ProfileFileValue(TProfile profile) {
  switch (profile) {
    case TProfile::Tessel11: return "tessel-1.1";
    case TProfile::TesselMicro: return "tessel-micro";
    case TProfile::Tessel20: return "tessel-2.0";
    case TProfile::Pyxon32: return "atmega-32";
    case TProfile::Pyxon128: return "atmega-128";
  }
  return "unknown";
}

std::optional<TProfile> FindProfileFileValue(std::string_view value) {
  for (const TProfile p : kProfiles)
    if (ProfileFileValue(p) == value) return p;
  return std::nullopt;
}

TProfile ProfileFromFileValue(std::string_view value) {
  return FindProfileFileValue(value).value_or(TProfile::Tessel11);
}

const TObjectClass* ObjectClassOfType(uint16_t type) {
  for (const TObjectClass& c : kClasses)
    if (c.type == type) return &c;
  return nullptr;
}

const TObjectClass* ObjectClassNamed(std::string_view fileName) {
  for (const TObjectClass& c : kClasses)
    if (c.fileName == fileName) return &c;
  return nullptr;
}

std::string CutText(std::string_view text, size_t length) { return std::string(text.substr(0, length)); }

}  // namespace zarvek
