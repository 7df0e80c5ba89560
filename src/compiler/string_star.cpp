// The value of a whole STRING * n: texts, STRING * n and STRING variables, CHR$ and STR$
// joined by "+" or "&". The target's length byte counts the characters written so far;
// each character is written behind them while the length is below n, so the result is
// cut at the declared length. A value of one part keeps the straight-line copies.
#include "compiler/string_star.h"
#include "compiler/messages.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "compiler/diagnostics.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/io_parts.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

enum class TPartKind : uint8_t {
  Text,        // known at compile time
  StringStar,  // a whole STRING * n; `code` pushes its byte 0 when computed
  Reference,   // `code` pushes a STRING reference
  Character,   // `code` pushes a character (CHR$, one character of a STRING * n)
  Number,      // `code` pushes a number (STR$)
};

struct TStringPart {
  TPartKind kind = TPartKind::Text;
  std::string text;
  TElement element;  // StringStar
  TCodePiece code;
  int32_t position = 0;
  int symbol = -1;  // Reference: the plain STRING variable, if it is one
};

bool Refuse(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  ReportAt(c, position, argument, code);
  return false;
}

// --- Straight-line copies of a value of one part ----------------------------------------

void WriteConstantText(TCompilerContext& c, const TElement& target, const TCodePiece& address, std::string text) {
  if (static_cast<int64_t>(text.size()) > target.byteCount - 1) text.resize(static_cast<size_t>(target.byteCount - 1));
  EmitConstantPush(c, static_cast<int64_t>(text.size()));
  EmitByteAccess(c, target, address, 0, true);
  for (size_t k = 0; k < text.size(); ++k) {
    EmitConstantPush(c, static_cast<uint8_t>(text[k]));
    EmitByteAccess(c, target, address, static_cast<int64_t>(k) + 1, true);
  }
}

// The referenced characters of a STRING variable, read from the table area: the length
// word lies just before the character a reference points at.
void CopyReferencedText(TCompilerContext& c, int source, const TElement& target, const TCodePiece& address) {
  for (int64_t k = 0; k < target.byteCount; ++k) {
    EmitLoad(c, source);
    if (k != 1) EmitConstantPush(c, k == 0 ? 1 : k - 1);
    if (k != 1) EmitByte(c, k == 0 ? tok::SUB : tok::ADD);
    EmitByte(c, tok::TABLEREAD);
    AddFixup(c, "<0");
    if (k == 0) {
      EmitConstantPush(c, target.byteCount - 1);
      EmitByte(c, tok::MIN);
    }
    EmitByteAccess(c, target, address, k, true);
  }
}

void CopyStringStar(TCompilerContext& c, const TElement& source, const TCodePiece& sourceAddress,
                    const TElement& target, const TCodePiece& address) {
  const int64_t count = std::min(source.byteCount, target.byteCount);
  for (int64_t k = 0; k < count; ++k) {
    EmitByteAccess(c, source, sourceAddress, k, false);
    if (k == 0) {
      EmitConstantPush(c, target.byteCount - 1);
      EmitByte(c, tok::MIN);
    }
    EmitByteAccess(c, target, address, k, true);
  }
}

// --- Reading the parts -------------------------------------------------------------------

bool IsPartSeparator(char ch) { return ch == '+' || ch == '&'; }

// CHR$(n) or STR$(n): folded into the text when n is constant.
bool ReadCharacterFunction(TCompilerContext& c, bool chr, TStringPart& part) {
  if (!ExpectChar(c, '(')) return false;
  const size_t mark = c.code.size();
  const int32_t value = CompileExpression(c, kRuntimeMask);
  if (c.errorReported || !ExpectChar(c, ')')) return false;
  part.code = CutCode(c, mark);
  if (part.code.fixups.empty() && part.code.bytes == ConstantPush(c, value)) {
    part.kind = TPartKind::Text;
    part.text = chr ? std::string(1, static_cast<char>(value & 0xFF)) : std::to_string(value);
    part.code = {};
    return true;
  }
  part.kind = chr ? TPartKind::Character : TPartKind::Number;
  return true;
}

bool ReadVariablePart(TCompilerContext& c, TStringPart& part) {
  const int source = ReadVariableName(c);
  if (source < 0) return Refuse(c, part.position, "", msg::StringValueExpected);
  if (c.symbols[source].kind == KindBit(kind::String)) {
    const size_t mark = c.code.size();
    EmitLoad(c, source);
    part.kind = TPartKind::Reference;
    part.symbol = source;
    part.code = CutCode(c, mark);
    return !c.errorReported;
  }
  const size_t mark = c.code.size();
  const auto value = ParseElement(c, source, false);
  if (!value || c.errorReported) return false;
  if (value->kind == TElementKind::WholeStringStar) {
    part.kind = TPartKind::StringStar;
    part.element = *value;
    c.symbols[source].used = true;
  } else if (value->kind == TElementKind::Memory && value->holdsString) {
    EmitAccess(c, value->access, false);
    part.kind = TPartKind::Reference;
  } else if (value->kind == TElementKind::Memory && HasKind(c.symbols[source].kind, kind::StringStar)) {
    EmitElementRead(c, *value);
    part.kind = TPartKind::Character;
  } else {
    return Refuse(c, part.position, "", msg::StringValueExpected);
  }
  part.code = CutCode(c, mark);
  return !c.errorReported;
}

bool ReadPart(TCompilerContext& c, TStringPart& part) {
  SkipBlanks(c);
  part.position = c.position;
  int32_t p = c.position;
  std::string name;
  while (IsNameChar(c.At(p)) && c.At(p) != '&') name.push_back(c.At(p++));
  const std::string upper = UpperCase(name);
  if (upper == "CHR$" || upper == "STR$") {
    c.position = p;
    return ReadCharacterFunction(c, upper == "CHR$", part);
  }
  if (ConstantStringAhead(c)) {
    part.kind = TPartKind::Text;
    return ReadConstantStringOperand(c, part.text);
  }
  return ReadVariablePart(c, part);
}

std::vector<TStringPart> ReadParts(TCompilerContext& c) {
  std::vector<TStringPart> parts;
  for (;;) {
    TStringPart part;
    if (!ReadPart(c, part)) return {};
    // Neighbouring texts are one text.
    if (part.kind == TPartKind::Text && !parts.empty() && parts.back().kind == TPartKind::Text)
      parts.back().text += part.text;
    else
      parts.push_back(std::move(part));
    SkipBlanks(c);
    if (!IsPartSeparator(c.Current())) return parts;
    ++c.position;
  }
}

// --- Appending to the target --------------------------------------------------------------

class TStringStarWriter {
 public:
  TStringStarWriter(TCompilerContext& c, const TElement& target, const TCodePiece& address)
      : c_(c), target_(target), address_(address), capacity_(target.byteCount - 1) {}

  void SetLength(int64_t length) {
    EmitConstantPush(c_, length);
    EmitByteAccess(c_, target_, address_, 0, true);
  }

  // [ch] -> []: the character goes behind the others while there is room; else it is
  // dropped.
  //   len PUSH n LT JUMPF full  len PUSH 1 ADD base ADD write  len PUSH 1 ADD len:=  GOTO done
  //   full: DROP  done:
  void AppendCharacter() {
    const std::string full = LoopLabel(c_, ".SFULL"), done = LoopLabel(c_, ".SDONE");
    PushLength();
    EmitConstantOperator(c_, capacity_, tok::LT);
    EmitJump(c_, tok::JUMPF, full);
    PushLength();
    EmitConstantOperator(c_, 1, tok::ADD);
    PushBase();
    EmitByte(c_, tok::ADD);
    EmitAccess(c_, ByteOnStack(target_), true);
    PushLength();
    EmitConstantOperator(c_, 1, tok::ADD);
    EmitByteAccess(c_, target_, address_, 0, true);
    EmitJump(c_, tok::GOTO, done);
    DefineLabel(c_, full);
    EmitDiscard(c_);
    DefineLabel(c_, done);
  }

  // [p, k] -> []: k characters from p on, each read by `read` ([p] -> [ch]).
  //   top: DUP JUMPF exit SWAP DUP read append PUSH 1 ADD SWAP PUSH 1 SUB GOTO top
  //   exit: DROP DROP
  void AppendCharacters(const std::function<void()>& read) {
    const std::string top = LoopLabel(c_, ".SCOPY"), exit = LoopLabel(c_, ".XSCOPY");
    DefineLabel(c_, top);
    EmitByte(c_, tok::DUP);
    EmitJump(c_, tok::JUMPF, exit);
    EmitTokens(c_, {tok::SWAP, tok::DUP});
    read();
    AppendCharacter();
    EmitConstantOperator(c_, 1, tok::ADD);
    EmitByte(c_, tok::SWAP);
    EmitConstantOperator(c_, 1, tok::SUB);
    EmitJump(c_, tok::GOTO, top);
    DefineLabel(c_, exit);
    EmitDiscard(c_);
    EmitDiscard(c_);
  }

  // [r] -> []: the characters of a string constant. A zero reference (a STRING in memory
  // nothing was assigned to yet) adds nothing.
  //   DUP DUP PUSH 1 SUB TABLEREAD <0 SWAP PUSH 0 NE AND      [r, length]
  void AppendReferenced() {
    EmitTokens(c_, {tok::DUP, tok::DUP});
    EmitConstantOperator(c_, 1, tok::SUB);
    EmitJump(c_, tok::TABLEREAD, "<0");
    EmitByte(c_, tok::SWAP);
    EmitConstantOperator(c_, 0, tok::NE);
    EmitByte(c_, tok::AND);
    AppendCharacters([&] { EmitJump(c_, tok::TABLEREAD, "<0"); });
  }

  // A STRING * m, its length kept within m.
  //   base DUP read PUSH m MIN SWAP PUSH 1 ADD SWAP      [address of byte 1, length]
  void AppendStringStar(const TElement& source, const TCodePiece& sourceAddress) {
    if (source.access.onStack) AppendPiece(c_, sourceAddress);
    else EmitConstantPush(c_, source.access.address);
    EmitByte(c_, tok::DUP);
    EmitAccess(c_, ByteOnStack(source), false);
    EmitConstantOperator(c_, source.byteCount - 1, tok::MIN);
    EmitByte(c_, tok::SWAP);
    EmitConstantOperator(c_, 1, tok::ADD);
    EmitByte(c_, tok::SWAP);
    AppendCharacters([&] { EmitAccess(c_, ByteOnStack(source), false); });
  }

  void AppendText(const std::string& text) {
    if (text.empty()) return;
    const std::string name = "~" + std::to_string(c_.code.size()) + "." + std::to_string(c_.tableArea.size()) + "$";
    const int index = DefineStringConstant(c_, name, text);
    c_.symbols[static_cast<size_t>(index)].used = true;
    EmitConstantPush(c_, StringReference(c_.symbols[static_cast<size_t>(index)]));
    AppendReferenced();
  }

  // [v] -> []: the decimal text of the low 16 bits of v, signed, as PRINT shows numbers.
  // The digits come from w = -|v| (which holds -32768 too): digit = -((w / d) MOD 10),
  // shown from the first divisor d with w <= -d on; the last digit always.
  void AppendNumber() {
    const std::string positive = LoopLabel(c_, ".SPOS"), sign = LoopLabel(c_, ".SSIGN");
    EmitByte(c_, tok::DUP);
    EmitByte(c_, tok::ISNEG);
    EmitJump(c_, tok::JUMPF, positive);
    EmitConstantPush(c_, '-');
    AppendCharacter();
    EmitJump(c_, tok::GOTO, sign);
    DefineLabel(c_, positive);
    EmitByte(c_, tok::NEG);
    DefineLabel(c_, sign);
    for (const int64_t divisor : {10000, 1000, 100, 10}) {
      const std::string skip = LoopLabel(c_, ".SDIGIT");
      EmitByte(c_, tok::DUP);
      EmitConstantOperator(c_, -divisor, tok::LE);
      EmitJump(c_, tok::JUMPF, skip);
      EmitByte(c_, tok::DUP);
      EmitConstantOperator(c_, divisor, tok::DIV);
      EmitDigit();
      AppendCharacter();
      DefineLabel(c_, skip);
    }
    EmitDigit();
    AppendCharacter();
  }

 private:
  static TAccess ByteOnStack(const TElement& e) {
    TAccess a = e.access;
    a.unit = TUnit::Byte;
    a.onStack = true;
    return a;
  }
  void PushLength() { EmitByteAccess(c_, target_, address_, 0, false); }
  void PushBase() {
    if (target_.access.onStack) AppendPiece(c_, address_);
    else EmitConstantPush(c_, target_.access.address);
  }
  // [q] -> ['0' + -(q MOD 10)]
  void EmitDigit() {
    EmitConstantOperator(c_, 10, tok::MOD);
    EmitByte(c_, tok::NEG);
    EmitConstantOperator(c_, '0', tok::ADD);
  }

  TCompilerContext& c_;
  const TElement& target_;
  const TCodePiece& address_;
  int64_t capacity_;
};

bool IsTargetItself(const TStringPart& part, const TElement& target) {
  return part.kind == TPartKind::StringStar && part.element.access.symbol == target.access.symbol &&
         !part.element.access.onStack && !target.access.onStack;
}

bool CompileSinglePart(TCompilerContext& c, const TStringPart& part, const TElement& target,
                       const TCodePiece& address) {
  switch (part.kind) {
    case TPartKind::Text: WriteConstantText(c, target, address, part.text); return true;
    case TPartKind::StringStar:
      if (IsTargetItself(part, target)) return Refuse(c, part.position, "", msg::StringSelfAssignment);
      CopyStringStar(c, part.element, part.code, target, address);
      return true;
    case TPartKind::Reference:
      if (part.symbol >= 0) {
        CopyReferencedText(c, part.symbol, target, address);
        return true;
      }
      break;
    default: break;
  }
  return false;
}

}  // namespace

bool CompileStringStarValue(TCompilerContext& c, const TElement& target, const TCodePiece& address) {
  std::vector<TStringPart> parts = ReadParts(c);
  if (parts.empty() || c.errorReported) return false;
  if (parts.size() == 1) {
    if (CompileSinglePart(c, parts[0], target, address)) return true;
    if (c.errorReported) return false;
  }
  for (size_t k = 1; k < parts.size(); ++k)
    if (IsTargetItself(parts[k], target)) return Refuse(c, parts[k].position, "", msg::StringSelfAssignment);

  TStringStarWriter writer(c, target, address);
  size_t first = 0;
  if (IsTargetItself(parts[0], target)) {
    first = 1;  // appends to what the target holds
  } else if (parts[0].kind == TPartKind::Text) {
    WriteConstantText(c, target, address, parts[0].text);
    first = 1;
  } else {
    writer.SetLength(0);
  }
  for (size_t k = first; k < parts.size(); ++k) {
    const TStringPart& part = parts[k];
    switch (part.kind) {
      case TPartKind::Text: writer.AppendText(part.text); break;
      case TPartKind::StringStar: writer.AppendStringStar(part.element, part.code); break;
      case TPartKind::Reference:
        AppendPiece(c, part.code);
        writer.AppendReferenced();
        break;
      case TPartKind::Character:
        AppendPiece(c, part.code);
        writer.AppendCharacter();
        break;
      case TPartKind::Number:
        AppendPiece(c, part.code);
        writer.AppendNumber();
        break;
    }
    if (c.errorReported) return false;
  }
  return true;
}

}  // namespace zarvek
