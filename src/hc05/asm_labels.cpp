// The label of a line: the checks, in the order their messages take precedence, and the
// definition of labels and EQU constants.
#include "hc05/asm_context.h"

namespace zarvek::hc05 {

namespace {

using M = TAsmMessage;

// EQU: a fixed value that does not name its own label, and a label without ":".
TCheck CheckConstant(const TAsmStatement& st, std::string_view upperName, std::string& value) {
  const TOperand* op = st.Count() > 0 ? &st.operands[0] : nullptr;
  if (op && !op->text.empty()) {
    if (OperandMentions(op->text, upperName)) return FailOperand(M::SelfReference, *op);
    if (op->kind == TOperandKind::Failed) return op->failure;
    if (op->kind != TOperandKind::Value) return FailOperand(M::InvalidParameters, *op);
  }
  if (st.line.labelColon) return Fail(M::LabelFixedValue, st.line.label.text, 0);
  if (!op || op->text.empty()) return FailMnemonic(M::ParametersMissing, st);
  value = OperandValueText(*op);
  return {};
}

// A name taken by another line that still carries it.
TCheck CheckDuplicate(const TAsmContext& c, const TAsmStatement& st, const std::string& upper) {
  int index = 0;
  if (!c.symbols.Find(upper, index)) {
    return c.symbols.Full() ? TCheck(Fail(M::TooManySymbols, st.line.label.text, 0)) : std::nullopt;
  }
  const TAsmSymbol& s = c.symbols.At(index);
  if (s.kind != asmsymbol::PreRegistered && s.line != st.index && LineCarriesLabel(c.lines, s.line, upper)) {
    return Fail(M::SymbolDefined, st.line.label.text, 0);
  }
  return {};
}

}  // namespace

bool LineCarriesLabel(const std::vector<std::string>& lines, int32_t line, std::string_view upperName) {
  if (line < 0 || static_cast<size_t>(line) >= lines.size()) return false;
  const TAsmLine split = SplitAsmLine(lines[static_cast<size_t>(line)]);
  return split.HasLabel() && UpperCase(split.label.text) == upperName;
}

TCheck CheckLabel(TAsmContext& c, const TAsmStatement& st, std::string& constantValue) {
  const bool equ = st.mnemonic == "EQU";
  if (!st.line.HasLabel()) {
    return equ ? TCheck(Fail(M::NameMissing, st.line.mnemonic.text, 0)) : std::nullopt;
  }
  const std::string& name = st.line.label.text;
  const std::string upper = UpperCase(name);
  if (FindReserved(upper) || upper == "X") return Fail(M::NameReserved, name, 0);
  const size_t dot = upper.find('.');
  if (!IsValidIdentifier(upper) || (dot != std::string::npos && !equ)) return Fail(M::InvalidName, name, 0);
  if (equ) {
    if (auto f = CheckConstant(st, upper, constantValue)) return f;
  }
  if (dot != std::string::npos && !c.symbols.Lookup(upper.substr(0, dot))) return Fail(M::BitNeedsByte, name, 0);
  if (c.basic.Find(upper)) return Fail(M::UsedInBasic, name, 0);
  return CheckDuplicate(c, st, upper);
}

TCheck DefineSymbol(TAsmContext& c, const TAsmStatement& st, uint8_t kind, const std::string& value) {
  const int index = c.symbols.Insert({st.line.label.text, value, st.index, kind});
  if (index < 0) return Fail(M::TooManySymbols, st.line.label.text, 0);
  TAsmSymbol& s = c.symbols.At(index);
  // The sizing passes settled every value; one that still moves would leave the code
  // already emitted for references to it wrong.
  const bool moved = !c.sizing && s.kind != asmsymbol::PreRegistered && s.line == st.index && s.value != value;
  s = {st.line.label.text, value, st.index, kind};
  if (moved) return Fail(M::InvalidValue, st.line.label.text, 0);
  return {};
}

}  // namespace zarvek::hc05
