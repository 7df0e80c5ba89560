// The Tessel runtime image: our own operating system for Tessel 1.1 and Tessel Micro,
// assembled from firmware/tessel/tessel_os.asm during the build. Load it with
// TMotorolaEngine::SetRuntimeImage before the reset.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "hc05/motorola_engine.h"

namespace zarvek::tessel {

enum class TTesselVariant : uint8_t { Tessel11 = 0, Micro = 1 };

// Fixed points of the system that the outside relies on.
inline constexpr uint16_t kTokenFetchAddress = 0x0911;  // PC here: a token was just fetched
inline constexpr uint16_t kSelectHelperAddress = 0x1187;
inline constexpr uint16_t kSelectReloadAddress = 0x118C;  // 08 11 8C inside FUNCTIONs
inline constexpr uint16_t kUserCodeStart = 0x0101, kUserCodeEnd = 0x01FE;

const hc05::TRuntimeImage& RuntimeImage(TTesselVariant variant);
// Bytes of system code used of the 5494 available.
uint32_t SystemBytesUsed(TTesselVariant variant);
// An address or constant of the system source by name (any case): labels such as
// "IDLE1" (waiting after END), "ERRSTOP1" (stopped by a runtime error), "RXWAIT",
// and RAM cells such as "DSP", "DSH", "DSL", "CSP", "ERRNO", "TOKPCH".
std::optional<uint16_t> Symbol(TTesselVariant variant, std::string_view name);

}  // namespace zarvek::tessel
