// Stand-ins until the expression compiler lands: decimal literals only.
#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/scanner.h"

namespace zarvek {

int32_t CompileExpression(TCompilerContext& c, uint32_t mask) {
  SkipBlanks(c);
  const bool negative = c.Current() == '-';
  if (negative) ++c.position;
  int64_t value = 0;
  bool digits = false;
  while (c.Current() >= '0' && c.Current() <= '9') {
    value = value * 10 + (c.Current() - '0');
    ++c.position;
    digits = true;
  }
  if (!digits) CompileError(c, "", 190);
  if (negative) value = -value;
  if (EmitsCode(mask)) EmitConstantPush(c, value);
  return static_cast<int32_t>(value);
}

bool CompileConstantString(TCompilerContext& c, std::string& text) {
  SkipBlanks(c);
  if (c.Current() != '"') {
    CompileError(c, "", 244);
    return false;
  }
  ++c.position;
  while (!c.AtEnd() && c.Current() != '"') text.push_back(c.source[c.position++ - 1]);
  ++c.position;
  return true;
}

void CompileArgument(TCompilerContext& c) { CompileExpression(c, kRuntimeMask); }
bool CompileSysAssign(TCompilerContext&, const std::string&) { return false; }

}  // namespace zarvek
