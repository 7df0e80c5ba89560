#include "cli/profiles.h"

#include "compiler/compiler.h"

namespace zarvek::cli {

std::optional<uint8_t> ParseProfileName(const std::string& name) {
  if (name == "tessel-1.1") return profile::Tessel11;
  if (name == "tessel-micro") return profile::TesselMicro;
  if (name == "tessel-2.0") return profile::Tessel20;
  if (name == "atmega-32") return profile::Pyxon32;
  if (name == "atmega-128") return profile::Pyxon128;
  return std::nullopt;
}

}  // namespace zarvek::cli
