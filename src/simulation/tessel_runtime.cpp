#include "simulation/tessel_runtime.h"

#include "base/profile.h"
#include "simulation/tessel_board.h"
#include "tessel/tessel_image.h"

namespace zarvek {

namespace {

constexpr uint8_t kOpcodeWait = 0x8F;
constexpr uint8_t kReceiveBufferSize = 8;  // RXBUF in the operating system's RAM map

// The WAIT inside the runtime's wait for a received byte: reached only while its receive
// buffer is empty.
std::optional<uint16_t> InputWaitPoint(const hc05::TRuntimeImage& image, uint16_t routine) {
  for (uint16_t at = routine; at < routine + 8; ++at) {
    const size_t offset = at - hc05::TRuntimeImage::kSystemAddress;
    if (at < hc05::TRuntimeImage::kSystemAddress || offset >= image.system.size()) break;
    if (static_cast<uint8_t>(image.system[offset]) == kOpcodeWait) return at;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TTesselRuntime> TesselRuntimeFor(TProfile profile, std::string* why) {
  if (const auto refusal = TesselSimulationRefusal(profile)) {
    if (why) *why = *refusal;
    return std::nullopt;
  }
  const auto variant = profile == profile::TesselMicro ? tessel::TTesselVariant::Micro
                                                           : tessel::TTesselVariant::Tessel11;
  TTesselRuntime runtime;
  runtime.image = tessel::RuntimeImage(variant);
  runtime.points.end = tessel::Symbol(variant, "IDLE");
  runtime.points.error = tessel::Symbol(variant, "ERRSTOP");
  runtime.points.errorNumber = tessel::Symbol(variant, "ERRNO");
  runtime.points.receiveCount = tessel::Symbol(variant, "RXCNT");
  runtime.points.receiveBufferSize = kReceiveBufferSize;
  if (const auto rxwait = tessel::Symbol(variant, "RXWAIT"))
    runtime.points.inputWait = InputWaitPoint(runtime.image, *rxwait);
  return runtime;
}

}  // namespace zarvek
