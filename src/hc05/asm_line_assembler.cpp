// One line: split, label checked and defined, mnemonic assembled, location counter
// advanced while every open conditional block is active.
#include <algorithm>

#include "hc05/asm_context.h"

namespace zarvek::hc05 {

namespace {

using M = TAsmMessage;

// Keeps the location counter far from overflow on absurd input; the output pass refuses
// code beyond $FFFF long before.
constexpr int64_t kCounterCap = int64_t{1} << 30;

TAsmStatement MakeStatement(const TAsmContext& c, int32_t index) {
  TAsmStatement st;
  st.line = SplitAsmLine(c.lines[static_cast<size_t>(index)]);
  st.index = index;
  st.mnemonic = UpperCase(st.line.mnemonic.text);
  st.reserved = FindReserved(st.mnemonic);
  for (size_t k = 0; k < st.line.operands.size(); ++k) {
    st.operands.push_back(AnalyzeOperand(c, st.line.operands[k], static_cast<int>(k) + 2));
  }
  return st;
}

TCheck AssembleMnemonic(TAsmContext& c, const TAsmStatement& st, std::string& bytes) {
  if (st.line.mnemonic.text.empty()) return {};
  if (!st.reserved) return FailMnemonic(M::UnknownInstruction, st);
  if (IsDirective(st.mnemonic)) return AssembleDirective(c, st, bytes);
  return AssembleInstruction(c, st, bytes);
}

void Advance(TAsmContext& c, size_t size) {
  c.counter = static_cast<int32_t>(std::min<int64_t>(int64_t{c.counter} + static_cast<int64_t>(size), kCounterCap));
  c.codeEmitted = true;
}

}  // namespace

TAsmFailure Fail(TAsmErrorSet set, std::string offending, int field) { return {set, std::move(offending), field}; }
TAsmFailure FailOperand(TAsmErrorSet set, const TOperand& op) { return {set, op.text, op.field}; }
TAsmFailure FailMnemonic(TAsmErrorSet set, const TAsmStatement& st) { return {set, st.line.mnemonic.text, 1}; }

TCheck CheckCount(const TAsmStatement& st, int min, int max) {
  if (st.Count() < min) return FailMnemonic(M::ParametersMissing, st);
  if (st.Count() > max) return FailOperand(M::TooManyParameters, st.operands[static_cast<size_t>(max)]);
  return {};
}

TCheck FirstFailed(const TAsmStatement& st) {
  for (const TOperand& op : st.operands) {
    if (op.kind == TOperandKind::Failed) return op.failure;
  }
  return {};
}

TCheck CheckPlainValue(const TOperand& op) {
  switch (op.kind) {
    case TOperandKind::Failed: return op.failure;
    case TOperandKind::Index: return FailOperand(M::IndexNotHere, op);
    case TOperandKind::Empty: return FailOperand(M::ParametersMissing, op);
    case TOperandKind::String:
    case TOperandKind::BadString: return FailOperand(M::InvalidParameters, op);
    default: break;
  }
  if (op.hasBit) return FailOperand(M::BitSelectionNotHere, op);
  return {};
}

bool TAsmContext::Active() const {
  return std::all_of(blocks.begin(), blocks.end(), [](const TAsmBlock& b) { return b.Active(); });
}

void TAsmContext::StartPass(bool sizingPass) {
  sizing = sizingPass;
  start = counter = kAsmDefaultStart;
  codeEmitted = false;
  blocks.clear();
}

TLineOutcome AssembleLine(TAsmContext& c, int32_t index) {
  const TAsmStatement st = MakeStatement(c, index);
  if (st.line.commentLine) return {};
  std::string constant;
  TCheck failure = CheckLabel(c, st, constant);
  if (failure && !c.sizing) return {{}, failure};
  const bool labelOk = !failure && st.line.HasLabel();
  const bool equ = st.mnemonic == "EQU";
  if (labelOk && equ) failure = DefineSymbol(c, st, asmsymbol::Constant, constant);
  std::string bytes;
  const TCheck instruction = AssembleMnemonic(c, st, bytes);
  if (!failure) failure = instruction;
  if (labelOk && !equ) {
    TCheck defined = DefineSymbol(c, st, asmsymbol::Label, std::to_string(c.counter));
    if (!failure) failure = defined;
  }
  if (instruction && c.sizing && st.reserved) bytes.assign(static_cast<size_t>(GuessLength(st)), '\0');
  if (!c.Active()) bytes.clear();
  if (!bytes.empty() && !c.sizing && int64_t{c.counter} + static_cast<int64_t>(bytes.size()) > 65536 && !failure) {
    failure = FailMnemonic(M::Address16, st);
  }
  if (failure && !c.sizing) return {{}, failure};
  if (!bytes.empty()) Advance(c, bytes.size());
  return {std::move(bytes), failure};
}

}  // namespace zarvek::hc05
