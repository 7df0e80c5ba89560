// The texts the simulation shows for the emulated controller: the message of each error
// state and the register line with its optional BASIC PC suffix.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

// UTF-8; empty for state 0 and for states the engine does not set.
std::string_view EngineErrorMessage(uint8_t errorState);

// "A = 12h  X = 00h  ( N = 0 Z = 0 C = 1 H = 0 I = 1 )  SP = 00FFh  PC = 0101h", with the
// PC where the last instruction began.
std::string RegisterLine(const TCpuRegisters& cpu);

// "  BASIC PC = 0123h": where the runtime is reading the token program in the EEPROM.
std::string BasicPcSuffix(uint16_t eepromWordAddress);

}  // namespace zarvek::hc05
