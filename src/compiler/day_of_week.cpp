// The day of the week on Tessel 1.1, whose runtime has no such system variable: a
// subroutine computes it from the date and leaves it on the data stack. It is generated
// at the first use, in place behind a jump, and every use calls it.
#include "compiler/emit.h"
#include "compiler/expression_parts.h"
#include "compiler/symbol_table.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// Month offsets of Sakamoto's method (January first).
constexpr uint16_t kMonthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};

void Push(TCompilerContext& c, int value) {
  EmitByte(c, tok::PUSHW);
  EmitWord(c, static_cast<uint16_t>(value));
}

void SysRead(TCompilerContext& c, uint8_t number) {
  EmitByte(c, tok::SYSREAD);
  EmitByte(c, number);
}

// The year, one less in January and February. Read afresh for every term: the runtime
// has no DUP.
void CountingYear(TCompilerContext& c) {
  SysRead(c, 0);
  SysRead(c, 1);
  Push(c, 3);
  EmitByte(c, tok::LT);  // -1 in January and February
  EmitByte(c, tok::ADD);
}

void YearTerm(TCompilerContext& c, int divisor, uint8_t combine) {
  CountingYear(c);
  Push(c, divisor);
  EmitByte(c, tok::DIV);
  EmitByte(c, combine);
}

void EmitSubroutine(TCompilerContext& c) {
  const size_t table = c.tableArea.size();
  for (uint16_t offset : kMonthOffsets) {
    c.tableArea.push_back(static_cast<char>(offset >> 8));
    c.tableArea.push_back(static_cast<char>(offset & 0xFF));
  }
  EmitByte(c, tok::GOTO);
  AddFixup(c, ".0DOW");
  DefineLabel(c, ".DOW");
  // y + y/4 - y/100 + y/400 + offset(month) + day; all terms stay below 32768 for years
  // up to 9999. That sum mod 7 counts from Sunday; the result counts 1 = Monday ... 7 = Sunday.
  CountingYear(c);
  YearTerm(c, 4, tok::ADD);
  YearTerm(c, 100, tok::SUB);
  YearTerm(c, 400, tok::ADD);
  SysRead(c, 1);
  EmitByte(c, tok::TABLEREAD);
  AddFixup(c, "<" + std::to_string(table));  // tables count from 1: month 1 is the first value
  EmitByte(c, tok::ADD);
  SysRead(c, 2);
  EmitByte(c, tok::ADD);
  Push(c, 6);
  EmitByte(c, tok::ADD);
  Push(c, 7);
  EmitByte(c, tok::MOD);
  Push(c, 1);
  EmitByte(c, tok::ADD);
  EmitByte(c, tok::RETURN);
  DefineLabel(c, ".0DOW");
}

}  // namespace

void EmitDayOfWeekCall(TCompilerContext& c) {
  if (FindSymbol(c, ".DOW", kAnyScope) < 0) EmitSubroutine(c);
  EmitByte(c, tok::GOSUB);
  AddFixup(c, ".DOW");
}

}  // namespace zarvek
