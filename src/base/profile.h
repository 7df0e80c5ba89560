// The target profiles: the board a project is built for. The codes are the ones project
// files and legacy projects store; a byte from outside becomes a profile only through
// ProfileFromCode, which refuses unknown codes.
#pragma once

#include <cstdint>
#include <optional>

namespace zarvek {

enum class TProfile : uint8_t { Tessel11 = 0, TesselMicro = 1, Tessel20 = 3, Pyxon32 = 4, Pyxon128 = 5 };

namespace profile {
inline constexpr TProfile Tessel11 = TProfile::Tessel11;
inline constexpr TProfile TesselMicro = TProfile::TesselMicro;
inline constexpr TProfile Tessel20 = TProfile::Tessel20;
inline constexpr TProfile Pyxon32 = TProfile::Pyxon32;
inline constexpr TProfile Pyxon128 = TProfile::Pyxon128;
}  // namespace profile

// The stored code of a profile.
constexpr uint8_t ProfileCode(TProfile p) { return static_cast<uint8_t>(p); }

// The profile a stored code names; nothing for a code no profile has.
constexpr std::optional<TProfile> ProfileFromCode(uint8_t code) {
  switch (code) {
    case ProfileCode(TProfile::Tessel11): return TProfile::Tessel11;
    case ProfileCode(TProfile::TesselMicro): return TProfile::TesselMicro;
    case ProfileCode(TProfile::Tessel20): return TProfile::Tessel20;
    case ProfileCode(TProfile::Pyxon32): return TProfile::Pyxon32;
    case ProfileCode(TProfile::Pyxon128): return TProfile::Pyxon128;
  }
  return std::nullopt;
}

constexpr bool IsPyxon(TProfile p) { return p == TProfile::Pyxon32 || p == TProfile::Pyxon128; }

}  // namespace zarvek
