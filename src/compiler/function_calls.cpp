// Calls of user FUNCTIONs inside expressions, and the arguments of SUB and FUNCTION calls.
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

constexpr int kMaxArguments = 8;
// Tessel 2.0 leaves a FUNCTION's result in local word 31; the caller pushes it from there.
constexpr uint8_t kResultWord = 31;

}  // namespace

int CompileArgumentList(TCompilerContext& c, const std::string& name, int32_t at) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  if (c.At(p) != '(') return 0;
  c.position = p + 1;
  SkipBlanks(c);
  if (c.Current() == ')') {
    ++c.position;
    return 0;
  }
  for (int count = 0;;) {
    if (count == kMaxArguments) {
      ReportAt(c, at, name, msg::FewerParametersExpected);
      return -1;
    }
    CompileArgument(c);
    ++count;
    if (c.errorReported) return -1;
    SkipBlanks(c);
    if (c.Current() == ')') {
      ++c.position;
      return count;
    }
    if (c.Current() != ',') {
      CompileError(c, ")", msg::Expected);
      return -1;
    }
    ++c.position;
  }
}

void CompileFunctionCall(TCompilerContext& c, const std::string& name, int symbol) {
  const int32_t at = c.errorPosition;
  int32_t declared = -1;
  if (symbol >= 0 && !ParseValueText(c.symbols[static_cast<size_t>(symbol)].value, declared)) declared = 0;
  const int count = CompileArgumentList(c, name, at);
  if (count < 0 || c.errorReported) return;
  if (declared >= 0 && count < declared) return ReportAt(c, at, name, msg::MoreParametersExpected);
  if (declared >= 0 && count > declared) return ReportAt(c, at, name, msg::FewerParametersExpected);
  c.errorPosition = at;  // where the post-pass reports a call it cannot resolve
  EmitByte(c, c.Pyxon() && c.currentProcedure >= 0 ? tok::CALLF : tok::GOSUB);
  AddFixup(c, name, count);
  if (c.profile == profile::Tessel20) {
    EmitByte(c, tok::LWORDREAD);
    EmitByte(c, kResultWord);
  }
}

void CompileArgument(TCompilerContext& c) {
  if (ConstantStringAhead(c)) {
    PushAnonymousString(c);
    return;
  }
  SkipBlanks(c);
  const int32_t start = c.position;
  const std::string token = ReadOperandToken(c);
  const int s = token.empty() || token == "(" ? -1 : FindSymbol(c, token, c.Scope());
  if (s >= 0 && HasKind(c.symbols[static_cast<size_t>(s)].kind, kind::String)) {
    EmitLoad(c, s);  // its reference
    return;
  }
  c.position = start;
  CompileExpression(c, kRuntimeMask);
}

}  // namespace zarvek
