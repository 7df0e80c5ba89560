// Built-in functions: their argument lists, the token that follows the arguments, and
// the value they fold to in a constant expression.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/expression_parts.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

enum class TBuiltin { Abs, Sgn, Sqr, Min, Max, Peek, Pointer, Len };

struct TBuiltinInfo {
  std::string_view name;
  TBuiltin builtin;
};

constexpr std::array<TBuiltinInfo, 8> kBuiltins{{{"ABS", TBuiltin::Abs},
                                                 {"SGN", TBuiltin::Sgn},
                                                 {"SQR", TBuiltin::Sqr},
                                                 {"MIN", TBuiltin::Min},
                                                 {"MAX", TBuiltin::Max},
                                                 {"PEEK", TBuiltin::Peek},
                                                 {"POINTER", TBuiltin::Pointer},
                                                 {"LEN", TBuiltin::Len}}};

// The memory space that PEEK reads and POKE writes.
constexpr uint8_t kPeekSpace = 6;

int32_t FoldSquareRoot(int32_t v) {
  return v <= 0 ? 0 : static_cast<int32_t>(std::lround(std::sqrt(static_cast<double>(v))));
}

// One argument: ABS, SGN, SQR and PEEK.
int32_t CompileUnary(TCompilerContext& c, TBuiltin builtin, uint32_t mask) {
  const int32_t v = CompileExpression(c, mask);
  if (EmitsCode(mask)) {
    switch (builtin) {
      case TBuiltin::Abs: EmitByte(c, tok::ABS); break;
      case TBuiltin::Sgn: EmitByte(c, tok::ISNEG); break;
      case TBuiltin::Sqr: EmitByte(c, tok::SQR); break;
      default:
        EmitByte(c, tok::MBYTEREAD);
        EmitByte(c, kPeekSpace);
        break;
    }
  }
  switch (builtin) {
    case TBuiltin::Abs: return WrapToInt32(std::llabs(static_cast<int64_t>(v)));
    case TBuiltin::Sgn: return v < 0 ? -1 : 1;  // the run-time ISNEG gives 0 for positive values
    case TBuiltin::Sqr: return FoldSquareRoot(v);
    default: return 0;
  }
}

int32_t CompileMinMax(TCompilerContext& c, TBuiltin builtin, uint32_t mask) {
  const int32_t a = CompileExpression(c, mask);
  if (c.errorReported || !ExpectChar(c, ',')) return 0;
  const int32_t b = CompileExpression(c, mask);
  if (EmitsCode(mask)) EmitByte(c, builtin == TBuiltin::Min ? tok::MIN : tok::MAX);
  return builtin == TBuiltin::Min ? std::min(a, b) : std::max(a, b);
}

bool IsAddressable(uint32_t k) {
  const uint32_t devices = Kinds(kind::Port, kind::AdInput, kind::DaOutput, kind::Pcf8574, kind::I2c,
                                 kind::I2cArray, kind::I2cLargeArray);
  const uint32_t memory = Kinds(kind::Bit, kind::Byte, kind::Word, kind::String, kind::StringStar, kind::StructVar);
  return (k & memory) != 0 && (k & devices) == 0;
}

// POINTER(name): the variable's address as a constant.
int32_t CompilePointer(TCompilerContext& c, uint32_t mask) {
  const std::string name = ReadName(c);
  const int s = name.empty() ? -1 : FindSymbol(c, name, c.Scope());
  if (s < 0) {
    CompileError(c, name, msg::Unknown);
    return 0;
  }
  Tlabel& symbol = c.symbols[static_cast<size_t>(s)];
  if (!IsAddressable(symbol.kind)) {
    CompileError(c, name, msg::VariableExpectedNamed);
    return 0;
  }
  symbol.used = true;
  if (EmitsCode(mask)) EmitConstantPush(c, symbol.address);
  return WrapToInt32(symbol.address);
}

// LEN(name) of a STRING or STRING * n variable.
int32_t CompileLength(TCompilerContext& c) {
  const std::string name = ReadName(c);
  const int s = name.empty() ? -1 : FindSymbol(c, name, c.Scope());
  if (s < 0) {
    CompileError(c, name, msg::StringStarExpected);
    return 0;
  }
  EmitStringLength(c, s);
  return 0;
}

int32_t CompileArguments(TCompilerContext& c, TBuiltin builtin, uint32_t mask) {
  switch (builtin) {
    case TBuiltin::Min:
    case TBuiltin::Max: return CompileMinMax(c, builtin, mask);
    case TBuiltin::Pointer: return CompilePointer(c, mask);
    case TBuiltin::Len: return CompileLength(c);
    default: return CompileUnary(c, builtin, mask);
  }
}

}  // namespace

bool CompileBuiltin(TCompilerContext& c, const std::string& upperName, uint32_t mask, int32_t& value) {
  const TBuiltinInfo* info = nullptr;
  for (const TBuiltinInfo& b : kBuiltins)
    if (b.name == upperName) info = &b;
  if (!info) return false;
  if (info->builtin == TBuiltin::Peek && !c.Pyxon()) {
    CompileError(c, "PEEK", msg::PyxonOnly);
    return true;
  }
  // Memory contents are known only at run time.
  if ((info->builtin == TBuiltin::Peek || info->builtin == TBuiltin::Len) && !EmitsCode(mask)) {
    CompileError(c, upperName, msg::ConstantExpected);
    return true;
  }
  if (!ExpectChar(c, '(')) return true;
  value = CompileArguments(c, info->builtin, mask);
  if (!c.errorReported) ExpectChar(c, ')');
  return true;
}

}  // namespace zarvek
