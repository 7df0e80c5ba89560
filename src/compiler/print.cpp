// PRINT: texts, numbers and strings to the serial line. Texts known at compile time go
// inline after PRINTSTR; string variables print through a loop generated at the item.
#include <functional>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/io_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/statements.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The inline text of the statement: opened by PRINTSTR, closed by its 0 byte.
class TPrintText {
 public:
  explicit TPrintText(TCompilerContext& c) : c_(c) {}
  bool IsOpen() const { return open_; }
  void Open() {
    if (open_) return;
    EmitByte(c_, tok::PRINTSTR);
    open_ = true;
  }
  // A zero character would end the inline text: it is printed on its own.
  void Character(char ch) {
    if (ch != '\0') {
      Open();
      EmitByte(c_, static_cast<uint8_t>(ch));
      return;
    }
    Close();
    EmitConstantPush(c_, 0);
    EmitByte(c_, tok::PUTCHAR);
    Open();
  }
  void Close() {
    if (!open_) return;
    EmitByte(c_, 0);
    open_ = false;
  }

 private:
  TCompilerContext& c_;
  bool open_ = false;
};

// [p, k] -> []: prints k characters from p on, each read by `read` ([p] -> [ch]).
//   top: DUP JUMPF exit SWAP DUP read PUTCHAR PUSHB 1 ADD SWAP PUSHB 1 SUB GOTO top
//   exit: discard discard
void EmitCharacterLoop(TCompilerContext& c, const char* topPrefix, const char* exitPrefix,
                       const std::function<void()>& read) {
  const std::string top = LoopLabel(c, topPrefix), exit = LoopLabel(c, exitPrefix);
  DefineLabel(c, top);
  EmitByte(c, tok::DUP);
  EmitJump(c, tok::JUMPF, exit);
  EmitTokens(c, {tok::SWAP, tok::DUP});
  read();
  EmitByte(c, tok::PUTCHAR);
  EmitConstantOperator(c, 1, tok::ADD);
  EmitByte(c, tok::SWAP);
  EmitConstantOperator(c, 1, tok::SUB);
  EmitJump(c, tok::GOTO, top);
  DefineLabel(c, exit);
  EmitDiscard(c);
  EmitDiscard(c);
}

void EmitTableRead(TCompilerContext& c) { EmitJump(c, tok::TABLEREAD, "<0"); }

// With the reference r of a STRING variable on the stack: its characters, counted by
// the length word before the first one. A zero reference (a STRING in memory nothing
// was assigned to yet) prints nothing.
//   DUP DUP PUSHB 1 SUB TABLEREAD <0 SWAP PUSHB 0 NE AND      [r, length]
void EmitReferenceLoop(TCompilerContext& c) {
  EmitTokens(c, {tok::DUP, tok::DUP});
  EmitConstantOperator(c, 1, tok::SUB);
  EmitTableRead(c);
  EmitByte(c, tok::SWAP);
  EmitConstantOperator(c, 0, tok::NE);
  EmitByte(c, tok::AND);
  EmitCharacterLoop(c, ".PRINTREF", ".XPRINTREF", [&] { EmitTableRead(c); });
}

// The Tessel runtimes have no DUP or SWAP: the variable itself walks over the characters
// up to the zero word that ends every string constant, and gets its reference back from
// the stack at the end.
//   read top: read TABLEREAD <0 JUMPF exit read TABLEREAD <0 PUTCHAR
//   read PUSH 1 ADD write GOTO top   exit: write
//
// The Tessel 1.1 and Micro operating system leaves the value of JUMPF, PUTCHAR and a store
// on the stack: there the character the test read is printed and dropped, the store's
// value is dropped, and the reference under them is written back at the end.
//   read top: read TABLEREAD <0 JUMPF exit PUTCHAR drop read PUSH 1 ADD write drop
//   GOTO top   exit: drop write
void EmitWalkingReferenceLoopKeepingValues(TCompilerContext& c, const TAccess& variable) {
  const std::string top = LoopLabel(c, ".PRINTREF"), exit = LoopLabel(c, ".XPRINTREF");
  EmitAccess(c, variable, false);
  DefineLabel(c, top);
  EmitAccess(c, variable, false);
  EmitTableRead(c);
  EmitJump(c, tok::JUMPF, exit);
  EmitByte(c, tok::PUTCHAR);
  EmitDiscard(c);
  EmitAccess(c, variable, false);
  EmitConstantOperator(c, 1, tok::ADD);
  EmitAccess(c, variable, true);
  EmitDiscard(c);
  EmitJump(c, tok::GOTO, top);
  DefineLabel(c, exit);
  EmitDiscard(c);
  EmitAccess(c, variable, true);
}

void EmitWalkingReferenceLoop(TCompilerContext& c, const TAccess& variable) {
  if (c.profile == profile::Tessel11 || c.profile == profile::TesselMicro)
    return EmitWalkingReferenceLoopKeepingValues(c, variable);
  const std::string top = LoopLabel(c, ".PRINTREF"), exit = LoopLabel(c, ".XPRINTREF");
  const auto character = [&] {
    EmitAccess(c, variable, false);
    EmitTableRead(c);
  };
  EmitAccess(c, variable, false);
  DefineLabel(c, top);
  character();
  EmitJump(c, tok::JUMPF, exit);
  character();
  EmitByte(c, tok::PUTCHAR);
  EmitAccess(c, variable, false);
  EmitConstantOperator(c, 1, tok::ADD);
  EmitAccess(c, variable, true);
  EmitJump(c, tok::GOTO, top);
  DefineLabel(c, exit);
  EmitAccess(c, variable, true);
}

// With the address of byte 0 of a STRING * n on the stack: bytes 1 ... length, the
// length kept within n.
//   DUP read PUSHB n MIN SWAP PUSHB 1 ADD SWAP      [address of byte 1, length]
void EmitStringStarLoop(TCompilerContext& c, const TElement& e) {
  TAccess byte = e.access;
  byte.onStack = true;
  byte.unit = TUnit::Byte;
  EmitByte(c, tok::DUP);
  EmitAccess(c, byte, false);
  EmitConstantOperator(c, e.byteCount - 1, tok::MIN);
  EmitByte(c, tok::SWAP);
  EmitConstantOperator(c, 1, tok::ADD);
  EmitByte(c, tok::SWAP);
  EmitCharacterLoop(c, ".PRINTSTR", ".XPRINTSTR", [&] { EmitAccess(c, byte, false); });
}

// A variable whose element is a string: a STRING reference, a whole STRING * n or one
// character of it. False (nothing emitted) for an element that is a number.
bool PrintStringElement(TCompilerContext& c, const TElement& e) {
  if (e.kind == TElementKind::Memory && e.holdsString) {
    if (!c.Pyxon() && !e.access.onStack) return EmitWalkingReferenceLoop(c, e.access), true;
    EmitAccess(c, e.access, false);
    EmitReferenceLoop(c);
    return true;
  }
  if (e.kind == TElementKind::WholeStringStar) {
    if (!e.access.onStack) EmitConstantPush(c, e.access.address);
    EmitStringStarLoop(c, e);
    return true;
  }
  if (e.kind == TElementKind::Memory && HasKind(c.symbols[e.access.symbol].kind, kind::StringStar)) {
    EmitElementRead(c, e);
    EmitByte(c, tok::PUTCHAR);
    return true;
  }
  return false;
}

// CHR$(n) prints the character n, STR$(n) the number n.
void PrintCharacterFunction(TCompilerContext& c, bool chr) {
  if (!ExpectChar(c, '(')) return;
  CompileExpression(c, kRuntimeMask);
  if (c.errorReported || !ExpectChar(c, ')')) return;
  EmitByte(c, chr ? tok::PUTCHAR : tok::PRINTNUM);
}

void PrintQuoted(TCompilerContext& c, TPrintText& text) {
  const int32_t open = c.position++;
  text.Open();
  while (c.Current() != '"') {
    if (c.AtEnd() || IsLineEnd(c.Current())) return ReportAt(c, open, "", msg::UnterminatedString);
    text.Character(c.Current());
    ++c.position;
  }
  ++c.position;
}

void PrintStringConstant(TCompilerContext& c, TPrintText& text, int symbol) {
  c.symbols[symbol].used = true;
  text.Open();
  for (char ch : StringConstantText(c, c.symbols[symbol])) text.Character(ch);
}

// A name that may be a string: the element is parsed first and given back to the
// expression compiler when it is a number.
bool TryPrintVariable(TCompilerContext& c, int symbol) {
  const uint32_t k = c.symbols[symbol].kind;
  if ((k & Kinds(kind::String, kind::StringStar, kind::StructVar)) == 0) return false;
  const int32_t at = c.position;
  const size_t mark = c.code.size();
  ReadName(c);
  const auto e = ParseElement(c, symbol, false);
  if (!e || c.errorReported) return true;
  if (PrintStringElement(c, *e)) return true;
  CutCode(c, mark);
  c.position = at;
  return false;
}

enum class TItem { Text, Value };

TItem PrintItem(TCompilerContext& c, TPrintText& text) {
  if (c.Current() == '"') return PrintQuoted(c, text), TItem::Text;
  const int symbol = PeekSymbol(c);
  if (symbol >= 0 && HasKind(c.symbols[symbol].kind, kind::StringConst)) {
    ReadName(c);
    return PrintStringConstant(c, text, symbol), TItem::Text;
  }
  const int32_t at = c.position;
  const std::string upper = UpperCase(ReadName(c));
  if (upper == "CHR$" || upper == "STR$") return PrintCharacterFunction(c, upper == "CHR$"), TItem::Value;
  c.position = at;
  if (symbol >= 0 && TryPrintVariable(c, symbol)) return TItem::Value;
  CompileExpression(c, kRuntimeMask);
  if (!c.errorReported) EmitByte(c, tok::PRINTNUM);
  return TItem::Value;
}

void PrintLineBreak(TCompilerContext& c, TPrintText& text) {
  text.Open();
  EmitByte(c, '\r');
  EmitByte(c, '\n');
  text.Close();
}

// Returns the number of values printed (each leaves its cell on the Tessel boards).
int PrintList(TCompilerContext& c) {
  TPrintText text(c);
  int values = 0;
  bool separated = true;
  bool valueEndsLine = false;
  for (SkipBlanks(c); !c.errorReported && !AtStatementEnd(c); SkipBlanks(c)) {
    const char ch = c.Current();
    if (ch == ',' || ch == ';') {
      ++c.position;
      if (ch == ',') text.Character(' ');
      text.Close();
      separated = true;
      valueEndsLine = false;
      continue;
    }
    if (!separated) return CompileError(c, "", msg::SemicolonExpected), values;
    separated = false;
    valueEndsLine = PrintItem(c, text) == TItem::Value;
    values += valueEndsLine ? 1 : 0;
  }
  if (c.errorReported) return values;
  if (text.IsOpen() || valueEndsLine) PrintLineBreak(c, text);
  return values;
}

}  // namespace

void CompilePrint(TCompilerContext& c) {
  SkipBlanks(c);
  if (c.Current() == '#') {
    ++c.position;
    return CompilePrintToFile(c);
  }
  int values = 0;
  if (AtStatementEnd(c)) {
    TPrintText text(c);
    PrintLineBreak(c, text);
  } else {
    values = PrintList(c);
  }
  if (c.errorReported) return;
  EndStatementInProcedure(c, values);
  ExpectEnd(c);
}

}  // namespace zarvek
