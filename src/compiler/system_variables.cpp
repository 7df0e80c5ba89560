// System variables: the runtime's clock, serial line, file and counter registers, read
// as operands and written as assignment targets, each with its profile rules.
#include <array>
#include <string_view>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/expression_parts.h"
#include "compiler/scanner.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

constexpr int kNoOperand = -1;

struct TSysRead {
  std::string_view name;
  uint8_t token;
  int number;  // SYSREAD's operand, kNoOperand for the tokens without one
};

constexpr std::array<TSysRead, 20> kReads{{
    {"INSTAT", tok::RXREADY, kNoOperand}, {"INCOUNT", tok::SYSREAD, 8},   {"INKEY$", tok::GETCHAR, kNoOperand},
    {"RAND", tok::RAND, kNoOperand},      {"BEEP", tok::SYSREAD, 8},      {"TIMER", tok::SYSREAD, 7},
    {"KEY", tok::SYSREAD, 13},            {"KEYCOUNT", tok::SYSREAD, 14}, {"SECOND", tok::SYSREAD, 6},
    {"MINUTE", tok::SYSREAD, 5},          {"HOUR", tok::SYSREAD, 4},      {"DAY", tok::SYSREAD, 2},
    {"MONTH", tok::SYSREAD, 1},           {"YEAR", tok::SYSREAD, 0},      {"DOW", tok::SYSREAD, 3},
    {"FILEFREE", tok::SYSREAD, 11},       {"FILESIZE", tok::SYSREAD, 12}, {"EOF", tok::EOF_, kNoOperand},
    {"FREQ1", tok::SYSREAD, 9},           {"FREQ2", tok::SYSREAD, 10},
}};

// Who may write a system variable; the others report 127 (KEYCOUNT: 275).
enum class TWriters { All, None, Pyxon, PyxonOnly, Tessel, FrequencyCounters };

struct TSysWrite {
  std::string_view name;
  int number;
  TWriters writers;
};

// In the order the names are checked.
constexpr std::array<TSysWrite, 21> kWrites{{
    {"BEEP", 8, TWriters::All},       {"INKEY", 0, TWriters::None},     {"INKEY$", 0, TWriters::None},
    {"INSTAT", 0, TWriters::None},    {"INCOUNT", 0, TWriters::None},   {"RAND", 0, TWriters::None},
    {"TIMER", 7, TWriters::Pyxon},    {"KEY", 0, TWriters::None},       {"KEYCOUNT", 14, TWriters::PyxonOnly},
    {"SECOND", 6, TWriters::All},     {"MINUTE", 5, TWriters::All},     {"HOUR", 4, TWriters::All},
    {"DAY", 2, TWriters::All},        {"MONTH", 1, TWriters::All},      {"YEAR", 0, TWriters::All},
    {"FILEFREE", 0, TWriters::None},  {"FILESIZE", 0, TWriters::None},  {"EOF", 0, TWriters::None},
    {"DOW", 3, TWriters::Tessel},     {"FREQ1", 9, TWriters::FrequencyCounters},
    {"FREQ2", 10, TWriters::FrequencyCounters},
}};

// The Tessel 1.1 runtime counts free file space for an 8 KB EEPROM; a larger one adds
// half of the bytes beyond it.
void CorrectFileFree(TCompilerContext& c) {
  if (c.profile != profile::Tessel11 || c.eepromSize <= 8192) return;
  EmitConstantPush(c, (c.eepromSize - 8192) / 2);
  EmitByte(c, tok::ADD);
}

// 0 when the profile may write, else the message code.
int WriteRefusal(const TCompilerContext& c, TWriters writers) {
  switch (writers) {
    case TWriters::All: return 0;
    case TWriters::None: return msg::NotAssignable;
    case TWriters::Pyxon: return c.Pyxon() ? 0 : msg::NotAssignable;
    case TWriters::PyxonOnly: return c.Pyxon() ? 0 : msg::PyxonOnly;
    case TWriters::Tessel: return c.Pyxon() ? msg::NotAssignable : 0;
    case TWriters::FrequencyCounters:
      return c.profile == profile::TesselMicro || c.profile == profile::Tessel20 ? 0 : msg::NotAssignable;
  }
  return msg::NotAssignable;
}

bool Reported(TCompilerContext& c, const std::string& argument, int code) {
  CompileError(c, argument, code);
  return true;
}

}  // namespace

bool CompileSysRead(TCompilerContext& c, const std::string& upperName, uint32_t mask) {
  const TSysRead* read = nullptr;
  for (const TSysRead& r : kReads)
    if (r.name == upperName) read = &r;
  if (!read) return false;
  if (!EmitsCode(mask)) return Reported(c, upperName, msg::ConstantExpected);
  if (upperName == "BEEP") return Reported(c, "", msg::BeepReadOnly);
  if ((upperName == "KEY" || upperName == "KEYCOUNT") && !c.Pyxon()) return Reported(c, upperName, msg::PyxonOnly);
  if (upperName == "FREQ2" && c.profile == profile::TesselMicro) return Reported(c, "", msg::Freq2WriteOnlyOnMicro);
  if (upperName == "DOW" && c.profile == profile::Tessel11) {
    EmitDayOfWeekCall(c);
    return true;
  }
  EmitByte(c, read->token);
  if (read->number != kNoOperand) EmitByte(c, static_cast<uint8_t>(read->number));
  if (upperName == "FILEFREE") CorrectFileFree(c);
  return true;
}

bool CompileSysAssign(TCompilerContext& c, const std::string& upperName) {
  const TSysWrite* write = nullptr;
  for (const TSysWrite& w : kWrites)
    if (w.name == upperName) write = &w;
  if (!write) return false;
  if (const int refusal = WriteRefusal(c, write->writers); refusal != 0) {
    CompileError(c, upperName, refusal);
    return true;
  }
  SkipBlanks(c);
  if (c.Current() != '=') {
    CompileError(c, "", msg::EqualsExpected);
    return true;
  }
  ++c.position;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return true;
  EmitByte(c, tok::SYSWRITE);
  EmitByte(c, static_cast<uint8_t>(write->number));
  return true;
}

}  // namespace zarvek
