// The runtime image the emulated Tessel board starts with, and the points it publishes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/profile.h"
#include "hc05/motorola_engine.h"
#include "simulation/tessel_loop.h"

namespace zarvek {

struct TTesselRuntime {
  hc05::TRuntimeImage image;
  TTesselRuntimePoints points;
};

// The runtime for Tessel 1.1 or Tessel Micro; nothing, with the reason, when this build
// carries none for the profile.
std::optional<TTesselRuntime> TesselRuntimeFor(TProfile profile, std::string* why = nullptr);

}  // namespace zarvek
