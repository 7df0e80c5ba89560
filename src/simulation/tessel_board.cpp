#include "simulation/tessel_board.h"

#include <cmath>

#include "base/profile.h"
#include "runtime/runtime_errors.h"

namespace zarvek {

std::optional<std::string> TesselSimulationRefusal(TProfile profile) {
  switch (profile) {
    case profile::Tessel11:
    case profile::TesselMicro: return std::nullopt;
    case profile::Tessel20:
      return "Programme für Tessel 2.0 lassen sich übersetzen, aber nicht simulieren: für diese Platine gibt es "
             "keinen emulierten Controller.";
    case profile::Pyxon32:
    case profile::Pyxon128: break;
  }
  return "Dieses Profil läuft nicht auf dem emulierten Tessel-Controller.";
}

TSerialRates SerialRatesFromBaudRegister(uint8_t baudRegister, uint32_t clockKHz) {
  static constexpr double kPrescaler[4] = {1, 3, 4, 13};
  const double base = clockKHz * 1000.0 / 2 / 16 / kPrescaler[baudRegister >> 6 & 3];
  return {base / (1 << (baudRegister >> 3 & 7)), base / (1 << (baudRegister & 7))};
}

int SerialBytesPerTick(double baud, int intervalMs) {
  if (intervalMs <= 0) return 0;
  return static_cast<int>(std::lround(baud / (1000.0 / intervalMs) / 10));
}

std::string ConsoleText(std::string_view serialBytes) {
  std::string text;
  text.reserve(serialBytes.size());
  for (const char c : serialBytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 && byte != '\r' && byte != '\n') text += "[" + std::to_string(byte) + "] ";
    else text += c;
  }
  return text;
}

std::string TesselRuntimeErrorText(int number) {
  const TRuntimeError error = DescribeRuntimeError(number);
  switch (error.errorClass) {
    case TErrorClass::Exception: return kUnhandledException + error.text;
    case TErrorClass::Critical: return kUnhandledCritical + error.text;
    case TErrorClass::Report: break;
  }
  return error.text;
}

}  // namespace zarvek
