// The run kinds of the run control, shared by both families' simulation loops.
#pragma once

#include <cstdint>

namespace zarvek::runkind {
inline constexpr uint8_t None = 0;
inline constexpr uint8_t Run = 1;
inline constexpr uint8_t SingleStep = 2;
inline constexpr uint8_t StepOver = 3;
inline constexpr uint8_t ToBreakpoint = 4;
inline constexpr uint8_t Paused = 5;
}  // namespace zarvek::runkind
