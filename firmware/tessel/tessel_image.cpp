#include "tessel/tessel_image.h"

#include <cctype>
#include <string>

#include "tessel/tessel_image_data.h"

namespace zarvek::tessel {

const hc05::TRuntimeImage& RuntimeImage(TTesselVariant variant) {
  return GeneratedImage(variant).image;
}

uint32_t SystemBytesUsed(TTesselVariant variant) { return GeneratedImage(variant).systemBytesUsed; }

std::optional<uint16_t> Symbol(TTesselVariant variant, std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto& symbols = GeneratedImage(variant).symbols;
  const auto it = symbols.find(key);
  if (it == symbols.end()) return std::nullopt;
  return it->second;
}

}  // namespace zarvek::tessel
