// Helpers of the I/O statement compilers.
#include "compiler/emit.h"
#include "compiler/io_parts.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"

namespace zarvek {

int PeekSymbol(const TCompilerContext& c) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  std::string name;
  while (IsNameChar(c.At(p))) name.push_back(c.At(p++));
  return LookUpIoName(c, name);
}

int LookUpIoName(const TCompilerContext& c, const std::string& name) {
  if (name.empty()) return -1;
  const int s = FindSymbol(c, name, c.Scope());
  if (s >= 0 || name.back() == '$') return s;
  const int t = FindSymbol(c, name + "$", c.Scope());
  return t >= 0 && HasKind(c.symbols[t].kind, kind::String) ? t : -1;
}

std::string LoopLabel(const TCompilerContext& c, const char* prefix) {
  return prefix + std::to_string(c.code.size());
}

void EmitTokens(TCompilerContext& c, std::initializer_list<uint8_t> tokens) {
  for (uint8_t t : tokens) EmitByte(c, t);
}

void EmitConstantOperator(TCompilerContext& c, int64_t constant, uint8_t token) {
  EmitConstantPush(c, constant);
  EmitByte(c, token);
}

void FinishIoStatement(TCompilerContext& c) {
  if (c.errorReported) return;
  EndStatementInProcedure(c);
  ExpectEnd(c);
}

}  // namespace zarvek
