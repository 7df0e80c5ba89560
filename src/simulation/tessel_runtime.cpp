#include "simulation/tessel_runtime.h"

#include "simulation/tessel_board.h"

namespace zarvek {

// Our own operating system for the boards is written beside this loop; until its image is
// part of the build there is nothing the emulated board could start.
std::optional<TTesselRuntime> TesselRuntimeFor(uint8_t profileCode, std::string* why) {
  if (const auto refusal = TesselSimulationRefusal(profileCode)) {
    if (why) *why = *refusal;
    return std::nullopt;
  }
  if (why) {
    *why = "Das Betriebssystem der Tessel-Platinen ist in diesem Build nicht enthalten; Tessel-Programme "
           "lassen sich noch nicht simulieren.";
  }
  return std::nullopt;
}

}  // namespace zarvek
