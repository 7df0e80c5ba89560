// The data file behind the program: OPEN, CLOSE and PRINT # (INPUT # reads it, with INPUT).
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/io_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

void EmitFileOp(TCompilerContext& c, uint8_t function) {
  EmitByte(c, tok::FILEOP);
  EmitByte(c, function);
}

bool ExpectHash(TCompilerContext& c) {
  SkipBlanks(c);
  if (c.Current() != '#') {
    CompileError(c, "", msg::HashExpected);
    return false;
  }
  ++c.position;
  return true;
}

}  // namespace

void CompileOpen(TCompilerContext& c) {
  if (!ExpectHash(c)) return;
  // There is one data file: a file number after "#" is no part of the statement.
  SkipBlanks(c);
  if (c.Current() >= '0' && c.Current() <= '9') return CompileError(c, "", msg::EndExpected);
  if (UpperCase(ReadName(c)) != "FOR") return CompileError(c, "", msg::ForExpected);
  const std::string mode = UpperCase(ReadName(c));
  if (mode == "READ") EmitFileOp(c, fileop::OpenRead);
  else if (mode == "WRITE") EmitFileOp(c, fileop::OpenWrite);
  else if (mode == "APPEND") EmitFileOp(c, fileop::OpenAppend);
  else return CompileError(c, "", msg::FileModeExpected);
  ExpectEnd(c);
}

void CompileClose(TCompilerContext& c) {
  if (!ExpectHash(c)) return;
  EmitFileOp(c, fileop::Close);
  ExpectEnd(c);
}

void CompilePrintToFile(TCompilerContext& c) {
  SkipBlanks(c);
  int values = 0;
  while (!c.errorReported && c.Current() == ',') {
    ++c.position;
    CompileExpression(c, kRuntimeMask);
    if (c.errorReported) return;
    EmitFileOp(c, fileop::Write);
    ++values;
    SkipBlanks(c);
  }
  if (c.errorReported) return;
  EndStatementInProcedure(c, values);  // each write leaves its value on the Tessel boards
  ExpectEnd(c);
}

}  // namespace zarvek
