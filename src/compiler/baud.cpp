// SETBAUD: the baud rate code each board's runtime expects.
#include <array>
#include <cmath>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

struct TBaudPair {
  int64_t tx = 0;
  int64_t rx = 0;
};

std::string PairText(int64_t tx, int64_t rx) {
  return std::to_string(tx) + " Baud TX, " + std::to_string(rx) + " Baud RX";
}

// The HC05 serial interface divides half the clock by a prescaler base times a power of
// two, chosen apart for sending and receiving within one prescaler row.
constexpr std::array<int64_t, 4> kPrescalerBases = {16, 48, 64, 208};

int64_t Divisor(size_t row, int index) { return kPrescalerBases[row] << index; }

// The index 0 ... 7 of the divisor closest to `ideal`; ties keep the lower one.
int ClosestIndex(size_t row, double ideal) {
  int best = 0;
  for (int k = 1; k < 8; ++k)
    if (std::fabs(Divisor(row, k) - ideal) < std::fabs(Divisor(row, best) - ideal)) best = k;
  return best;
}

void EmitTessel11Code(TCompilerContext& c, const TBaudPair& pair) {
  const double f = c.clockKHz * 1000.0 / 2.0;
  const double idealTx = f / static_cast<double>(pair.tx), idealRx = f / static_cast<double>(pair.rx);
  size_t bestRow = 0;
  int bestTx = 0, bestRx = 0;
  double bestError = 0;
  for (size_t row = 0; row < kPrescalerBases.size(); ++row) {
    const int t = ClosestIndex(row, idealTx), r = ClosestIndex(row, idealRx);
    const double error = std::fabs(Divisor(row, t) - idealTx) / idealTx + std::fabs(Divisor(row, r) - idealRx) / idealRx;
    if (row == 0 || error < bestError) {
      bestRow = row;
      bestTx = t;
      bestRx = r;
      bestError = error;
    }
  }
  EmitByte(c, tok::SETBAUD);
  EmitByte(c, static_cast<uint8_t>(bestRow * 64 + static_cast<size_t>(bestTx) * 8 + static_cast<size_t>(bestRx)));
  const int64_t achievedTx = std::lround(f / static_cast<double>(Divisor(bestRow, bestTx)));
  const int64_t achievedRx = std::lround(f / static_cast<double>(Divisor(bestRow, bestRx)));
  if (achievedTx != pair.tx || achievedRx != pair.rx) CompileError(c, PairText(achievedTx, achievedRx), msg::BaudRateNearest);
}

struct TBaudCode {
  int64_t baud;
  uint8_t code;
};

void EmitListedCode(TCompilerContext& c, const TBaudPair& pair, std::initializer_list<TBaudCode> codes, int refusal) {
  for (const TBaudCode& entry : codes)
    if (entry.baud == pair.tx && entry.baud == pair.rx) {
      EmitByte(c, tok::SETBAUD);
      EmitByte(c, entry.code);
      return;
    }
  CompileError(c, PairText(pair.tx, pair.rx), refusal);
}

constexpr std::array<int64_t, 13> kPyxonRates = {300,   600,   1200,  2400,  4800,  9600,  14400,
                                                 19200, 28800, 38400, 57600, 76800, 115200};

void EmitPyxonCode(TCompilerContext& c, int64_t tx) {
  for (size_t k = 0; k < kPyxonRates.size(); ++k)
    if (kPyxonRates[k] == tx) {
      EmitByte(c, tok::SETBAUD);
      EmitByte(c, static_cast<uint8_t>(k));
      return;
    }
  CompileError(c, "", msg::BaudRateExpected);
}

// A constant rate above zero; -1 after a report.
int64_t ReadRate(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const int64_t rate = CompileExpression(c, kConstantMask);
  if (c.errorReported) return -1;
  if (rate <= 0) {
    ReportAt(c, at, "", msg::BaudRateZero);
    return -1;
  }
  return rate;
}

}  // namespace

void CompileSetBaud(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  TBaudPair pair;
  pair.tx = ReadRate(c);
  if (pair.tx < 0) return;
  if (!c.Pyxon()) {
    if (!ExpectChar(c, ',')) return;
    pair.rx = ReadRate(c);
    if (pair.rx < 0) return;
  }
  c.errorPosition = at;
  switch (c.profile) {
    case profile::Tessel11: EmitTessel11Code(c, pair); break;
    case profile::TesselMicro: EmitListedCode(c, pair, {{9600, 0x80}, {19200, 0x00}}, msg::MicroBaudRates); break;
    case profile::Tessel20:
      EmitListedCode(c, pair, {{1200, 0xDB}, {2400, 0xD2}, {4800, 0xC9}, {9600, 0xC0}}, msg::Tessel20BaudRates);
      break;
    case profile::Pyxon32:
    case profile::Pyxon128: EmitPyxonCode(c, pair.tx); break;
  }
  if (!c.errorReported) ExpectEnd(c);
}

}  // namespace zarvek
