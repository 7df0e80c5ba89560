// The Tessel board as the simulation loop sees it: which profiles the emulated board runs,
// the serial rates its baud register gives, the per-tick byte budget, the console form of
// serial output and the texts of the runtime's error numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/profile.h"

namespace zarvek {

// Where the runtime fetches tokens: at this PC the byte just fetched is the token at serial
// EEPROM word address - 1.
inline constexpr uint16_t kTesselTokenFetchPoint = 0x0911;
// The user's machine code lies here.
inline constexpr uint16_t kTesselUserCodeFirst = 0x0101, kTesselUserCodeLast = 0x01FE;
inline constexpr uint32_t kTesselDefaultClockKHz = 4000;

// Empty when the emulated board runs programs of the profile; otherwise the message that
// says why not (Tessel 2.0 compiles but is not simulated; Pyxon runs on the token machine).
std::optional<std::string> TesselSimulationRefusal(TProfile profile);

struct TSerialRates {
  double transmit = 0;
  double receive = 0;
};

// The SCI rates from the baud register ($0D) and the clock in kHz: prescaler from bits 7-6
// (1, 3, 4, 13), transmit rate bits 5-3, receive rate bits 2-0.
TSerialRates SerialRatesFromBaudRegister(uint8_t baudRegister, uint32_t clockKHz);

// Bytes one direction may move in a tick of the given length: 10 bits per byte.
int SerialBytesPerTick(double baud, int intervalMs);

// The console shows a control byte other than CR and LF as "[n] ".
std::string ConsoleText(std::string_view serialBytes);

// The text of an unhandled runtime error of the Tessel runtime, worded as the token machine
// words it.
std::string TesselRuntimeErrorText(int number);

}  // namespace zarvek
