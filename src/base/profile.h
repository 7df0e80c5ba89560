// The target profiles: the board a project is built for. The codes are the ones project
// files and legacy projects store.
#pragma once

#include <cstdint>

namespace zarvek {

namespace profile {
inline constexpr uint8_t Tessel11 = 0;
inline constexpr uint8_t TesselMicro = 1;
inline constexpr uint8_t Tessel20 = 3;
inline constexpr uint8_t Pyxon32 = 4;
inline constexpr uint8_t Pyxon128 = 5;
}  // namespace profile

constexpr bool IsPyxon(uint8_t p) { return p == profile::Pyxon32 || p == profile::Pyxon128; }

}  // namespace zarvek
