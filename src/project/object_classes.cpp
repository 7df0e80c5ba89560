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

constexpr std::array<std::string_view, 6> kProfileValues{"tessel-1.1", "tessel-micro", "unknown",
                                                         "tessel-2.0", "atmega-32",    "atmega-128"};

}  // namespace

std::string_view ProfileFileValue(uint8_t profile) {
  return profile < kProfileValues.size() ? kProfileValues[profile] : "unknown";
}

std::optional<uint8_t> FindProfileFileValue(std::string_view value) {
  for (size_t p = 0; p < kProfileValues.size(); ++p)
    if (p != 2 && kProfileValues[p] == value) return static_cast<uint8_t>(p);
  return std::nullopt;
}

uint8_t ProfileFromFileValue(std::string_view value) { return FindProfileFileValue(value).value_or(0); }

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
