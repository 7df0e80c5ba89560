// The machine instructions: operand forms per class, the opcode from the instruction
// table, and the classification of operands that fit no form.
#include "hc05/asm_context.h"
#include "hc05/opcodes.h"

namespace zarvek::hc05 {

namespace {

using M = TAsmMessage;

void Emit8(std::string& bytes, int32_t v) { bytes += static_cast<char>(v & 0xFF); }
void Emit16(std::string& bytes, int32_t v) {
  Emit8(bytes, v >> 8);
  Emit8(bytes, v);
}

TCheck Inherent(const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  if (st.Count() > 0) return FailOperand(M::TooManyParameters, st.operands[0]);
  Emit8(bytes, m.OpcodeFor(TMode::Inherent));
  return {};
}

// An address 0...255 takes the short form, 256...65535 the long one where there is one.
TCheck EmitAddress(const TAsmStatement& st, const TMnemonic& m, const TOperand& a, TMode shortMode, TMode longMode,
                   std::string& bytes) {
  if (a.value >= 0 && a.value <= 255) {
    Emit8(bytes, m.OpcodeFor(shortMode));
    Emit8(bytes, a.value);
    return {};
  }
  if (st.reserved->cls == asmclass::ReadModify) return FailOperand(M::Address8, a);
  if (a.value < 0 || a.value > 65535) return FailOperand(M::Address16, a);
  Emit8(bytes, m.OpcodeFor(longMode));
  Emit16(bytes, a.value);
  return {};
}

TCheck MemoryIndexed(const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  const TOperand& a = st.operands[0];
  const TOperand& x = st.operands[1];
  if (x.kind != TOperandKind::Index) return FailOperand(M::OnlyIndexRegister, x);
  if (a.immediate) return FailOperand(M::IndexWithImmediate, a);
  if (a.kind == TOperandKind::Empty) {
    Emit8(bytes, m.OpcodeFor(TMode::Indexed));
    return {};
  }
  if (auto f = CheckPlainValue(a)) return f;
  return EmitAddress(st, m, a, TMode::Indexed1, TMode::Indexed2, bytes);
}

// Classes with memory operands: #value, address, ,X and offset,X.
TCheck Memory(const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  if (auto f = CheckCount(st, 1, 2)) return f;
  if (auto f = FirstFailed(st)) return f;
  const TOperand& a = st.operands[0];
  if (a.kind == TOperandKind::Index) return FailOperand(M::IndexNotHere, a);
  if (st.Count() == 2) return MemoryIndexed(st, m, bytes);
  if (auto f = CheckPlainValue(a)) return f;
  if (!a.immediate) return EmitAddress(st, m, a, TMode::Direct, TMode::Extended, bytes);
  const int opcode = m.OpcodeFor(TMode::Immediate);
  if (opcode < 0) return FailOperand(M::OperationNeedsAddress, a);
  if (a.value < 0 || a.value > 255) return FailOperand(M::ByteRange, a);
  Emit8(bytes, opcode);
  Emit8(bytes, a.value);
  return {};
}

TCheck CheckTarget(const TOperand& t) {
  if (auto f = CheckPlainValue(t)) return f;
  if (t.immediate) return FailOperand(M::TargetNeedsAddress, t);
  if (t.value < 0 || t.value > 65535) return FailOperand(M::Address16, t);
  return {};
}

// The displacement counts from the byte after the instruction.
TCheck EmitDisplacement(const TAsmContext& c, const TOperand& t, int length, std::string& bytes) {
  if (auto f = CheckTarget(t)) return f;
  const int32_t distance = t.value - (c.counter + length);
  if (distance < -128 || distance > 127) return FailOperand(M::BranchTooFar, t);
  Emit8(bytes, distance);
  return {};
}

TCheck Branch(const TAsmContext& c, const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  if (auto f = CheckCount(st, 1, 1)) return f;
  if (auto f = FirstFailed(st)) return f;
  Emit8(bytes, m.OpcodeFor(TMode::Relative));
  return EmitDisplacement(c, st.operands[0], 2, bytes);
}

struct TBitOperands {
  int32_t bit = 0;
  const TOperand* address = nullptr;
  size_t next = 0;  // index of the operand after the address
};

TCheck CheckBitNumber(const TOperand& n) {
  if (n.kind == TOperandKind::Index) return FailOperand(M::IndexNotHere, n);
  if (!n.IsValue() || n.hasBit || n.value < 0 || n.value > 7) return FailOperand(M::BitPosition, n);
  return {};
}

// "n,address" or "address.n", followed by `rest` further operands.
TCheck BitOperands(const TAsmStatement& st, int rest, TBitOperands& b) {
  // One operand short is the "address.n" form; a failed bit selection reports itself.
  if (st.Count() == 1 + rest && st.operands[0].kind == TOperandKind::Failed) return st.operands[0].failure;
  const bool selected = st.Count() == 1 + rest && st.operands[0].IsValue() && st.operands[0].hasBit;
  if (!selected) {
    if (auto f = CheckCount(st, 2 + rest, 2 + rest)) return f;
  }
  if (auto f = FirstFailed(st)) return f;
  if (selected) {
    b = {st.operands[0].bit, &st.operands[0], 1};
  } else {
    if (auto f = CheckBitNumber(st.operands[0])) return f;
    b = {st.operands[0].value, &st.operands[1], 2};
    if (auto f = CheckPlainValue(*b.address)) return f;
  }
  if (b.address->value < 0 || b.address->value > 255) return FailOperand(M::Address8, *b.address);
  if (b.address->immediate) return FailOperand(M::OperationNeedsAddress, *b.address);
  return {};
}

TCheck BitSet(const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  TBitOperands b;
  if (auto f = BitOperands(st, 0, b)) return f;
  Emit8(bytes, m.OpcodeFor(TMode::BitSetClear) + 2 * b.bit);
  Emit8(bytes, b.address->value);
  return {};
}

TCheck BitBranch(const TAsmContext& c, const TAsmStatement& st, const TMnemonic& m, std::string& bytes) {
  TBitOperands b;
  if (auto f = BitOperands(st, 1, b)) return f;
  Emit8(bytes, m.OpcodeFor(TMode::BitTestBranch) + 2 * b.bit);
  Emit8(bytes, b.address->value);
  return EmitDisplacement(c, st.operands[b.next], 3, bytes);
}

}  // namespace

TCheck AssembleInstruction(TAsmContext& c, const TAsmStatement& st, std::string& bytes) {
  const TMnemonic* m = FindMnemonic(st.mnemonic);
  if (!m) return FailMnemonic(M::UnknownInstruction, st);
  switch (st.reserved->cls) {
    case asmclass::Inherent: return Inherent(st, *m, bytes);
    case asmclass::Branch: return Branch(c, st, *m, bytes);
    case asmclass::BitSet: return BitSet(st, *m, bytes);
    case asmclass::BitBranch: return BitBranch(c, st, *m, bytes);
    default: return Memory(st, *m, bytes);
  }
}

int GuessLength(const TAsmStatement& st) {
  const bool indexedNoOffset = st.Count() >= 2 && st.operands[0].text.empty();
  switch (st.reserved->cls) {
    case asmclass::Inherent: return FindMnemonic(st.mnemonic) ? 1 : 0;
    case asmclass::Arithmetic:
    case asmclass::Store:
    case asmclass::Jump:
      if (indexedNoOffset) return 1;
      return st.Count() == 1 && st.operands[0].text.starts_with('#') ? 2 : 3;
    case asmclass::ReadModify: return indexedNoOffset ? 1 : 2;
    case asmclass::Branch: return st.mnemonic == "ORG" ? 0 : 2;
    case asmclass::BitSet: return 2;
    case asmclass::BitBranch: return 3;
    case asmclass::DefineByte:
      return st.Count() > 0 && st.operands[0].kind == TOperandKind::String ? static_cast<int>(st.operands[0].bytes.size()) : 1;
    case asmclass::DefineWord: return st.mnemonic == "DW" ? 2 : 0;
    default: return 0;
  }
}

}  // namespace zarvek::hc05
