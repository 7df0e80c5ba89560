// Pins and ports (SWITCH, PULSE, DEACT) and the simple statements RANDOMIZE, PAUSE,
// SLOWMODE and POKE.
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/io_parts.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

constexpr uint8_t kSlowModeToken = 0x09;  // the Tessel runtimes' only
constexpr uint8_t kControllerMemory = 6;  // the memory space POKE writes

void EmitOperandToken(TCompilerContext& c, uint8_t token, int64_t operand) {
  EmitByte(c, token);
  EmitByte(c, static_cast<uint8_t>(operand));
}

// The named symbol, marked used; -1 when the name is not declared.
int ReadDeclaredName(TCompilerContext& c, std::string& name) {
  name = ReadName(c);
  const int s = name.empty() ? -1 : FindSymbol(c, name, c.Scope());
  if (s >= 0) c.symbols[s].used = true;
  return s;
}

void DeactWordPort(TCompilerContext& c, int64_t wordPort) {
  if (c.profile == profile::TesselMicro) return EmitOperandToken(c, tok::DEACTPORT, 0);
  if (c.profile != profile::Tessel20) return EmitOperandToken(c, tok::DEACTWPORT, wordPort);
  EmitOperandToken(c, tok::DEACTPORT, 0);
  EmitOperandToken(c, tok::DEACTPORT, 1);
}

void CompileExpressionStatement(TCompilerContext& c, uint8_t token) {
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return;
  EmitByte(c, token);
  FinishIoStatement(c);
}

void CompileSlowMode(TCompilerContext& c) {
  const int32_t mode = CompileExpression(c, kConstantMask);
  if (c.errorReported) return;
  // The Pyxon runtime has no slow mode and would stop at the unknown token.
  if (!c.Pyxon()) EmitOperandToken(c, kSlowModeToken, mode);
  ExpectEnd(c);
}

void CompilePoke(TCompilerContext& c) {
  if (!c.Pyxon()) return CompileError(c, "POKE", msg::PyxonOnly);
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported || !ExpectChar(c, ',')) return;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported) return;
  EmitByte(c, tok::SWAP);
  EmitOperandToken(c, tok::MBYTEWRITE, kControllerMemory);
  ExpectEnd(c);
}

}  // namespace

void CompilePinStatement(TCompilerContext& c, const std::string& upperWord) {
  std::string name;
  const int s = ReadDeclaredName(c, name);
  if (s < 0 || c.symbols[s].kind != Kinds(kind::Bit, kind::Port)) return CompileError(c, name, msg::BitPortExpected);
  EmitOperandToken(c, upperWord == "SWITCH" ? tok::PINTOGGLE : tok::PINPULSE, c.symbols[s].address);
  ExpectEnd(c);
}

void CompileDeact(TCompilerContext& c) {
  std::string name;
  const int s = ReadDeclaredName(c, name);
  if (s < 0) return CompileError(c, name, msg::Unknown);
  const Tlabel& port = c.symbols[s];
  if (!HasKind(port.kind, kind::Port)) return CompileError(c, name, msg::PortExpected);
  if (HasKind(port.kind, kind::Bit)) EmitOperandToken(c, tok::DEACTPIN, port.address);
  else if (HasKind(port.kind, kind::Byte)) EmitOperandToken(c, tok::DEACTPORT, port.address);
  else DeactWordPort(c, port.address);
  ExpectEnd(c);
}

void CompileSimpleStatement(TCompilerContext& c, const std::string& upperWord) {
  if (upperWord == "RANDOMIZE") return CompileExpressionStatement(c, tok::RANDSEED);
  if (upperWord == "PAUSE") return CompileExpressionStatement(c, tok::PAUSE);
  if (upperWord == "SLOWMODE") return CompileSlowMode(c);
  CompilePoke(c);
}

}  // namespace zarvek
