// Addresses and bits of the register page ($00-$1F) and the interrupt vectors of the
// emulated Tessel controller.
#pragma once

#include <cstdint>

namespace zarvek::hc05::reg {

inline constexpr uint16_t kPortA = 0x00, kPortB = 0x01, kPortC = 0x02, kPortD = 0x03;
inline constexpr uint16_t kDdrA = 0x04, kDdrC = 0x06;
inline constexpr uint16_t kProgramControl = 0x07;  // user-code EEPROM programming
inline constexpr uint8_t kProgramLatch = 0x02, kProgramStore = 0x01;
inline constexpr uint16_t kUserCodeFirst = 0x0101, kUserCodeLast = 0x01FF;
inline constexpr uint16_t kAdResult = 0x08, kAdStatus = 0x09;
inline constexpr uint16_t kPlmA = 0x0A, kPlmB = 0x0B;
inline constexpr uint16_t kMisc = 0x0C;
inline constexpr uint16_t kSciBaud = 0x0D, kSciControl1 = 0x0E, kSciControl2 = 0x0F;
inline constexpr uint16_t kSciStatus = 0x10, kSciData = 0x11;
inline constexpr uint16_t kTimerControl = 0x12, kTimerStatus = 0x13;
inline constexpr uint16_t kCapture1High = 0x14, kCapture1Low = 0x15;
inline constexpr uint16_t kCompare1High = 0x16, kCompare1Low = 0x17;
inline constexpr uint16_t kCounterHigh = 0x18, kCounterLow = 0x19;
inline constexpr uint16_t kAlternateHigh = 0x1A, kAlternateLow = 0x1B;
inline constexpr uint16_t kCapture2High = 0x1C, kCapture2Low = 0x1D;
inline constexpr uint16_t kCompare2High = 0x1E, kCompare2Low = 0x1F;
inline constexpr uint16_t kUnusedEnd = 0x50;  // $20-$4F: nothing there
inline constexpr uint16_t kRamEnd = 0x100;    // RAM $50-$FF, then read-only memory

// Miscellaneous register.
inline constexpr uint8_t kMiscPowerOn = 0x80, kMiscSense = 0x60, kMiscIrqEnable = 0x10;

// SCI control 2.
inline constexpr uint8_t kSciTie = 0x80, kSciTcie = 0x40, kSciRie = 0x20, kSciIlie = 0x10;
inline constexpr uint8_t kSciTe = 0x08, kSciRe = 0x04;
// SCI status.
inline constexpr uint8_t kSciTdre = 0x80, kSciTc = 0x40, kSciRdrf = 0x20, kSciIdle = 0x10;

// Timer control.
inline constexpr uint8_t kTimerIcie = 0x80, kTimerOcie = 0x40, kTimerToie = 0x20;
inline constexpr uint8_t kTimerForce2 = 0x10, kTimerForce1 = 0x08, kTimerLevel2 = 0x04;
inline constexpr uint8_t kTimerEdge1 = 0x02, kTimerLevel1 = 0x01;
// Timer status.
inline constexpr uint8_t kTimerIcf1 = 0x80, kTimerOcf1 = 0x40, kTimerTof = 0x20;
inline constexpr uint8_t kTimerIcf2 = 0x10, kTimerOcf2 = 0x08;

// Interrupt vectors (high byte; the low byte follows).
inline constexpr uint16_t kVectorSci = 0x1FF2, kVectorOverflow = 0x1FF4, kVectorCompare = 0x1FF6;
inline constexpr uint16_t kVectorCapture = 0x1FF8, kVectorExternal = 0x1FFA, kVectorSwi = 0x1FFC;
inline constexpr uint16_t kVectorReset = 0x1FFE;

}  // namespace zarvek::hc05::reg
