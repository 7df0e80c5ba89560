// The directives: ORG, EQU, DB, DW, conditional assembly (IF, ELSE, END IF) and DEFINE.
#include <array>

#include "hc05/asm_context.h"

namespace zarvek::hc05 {

namespace {

using M = TAsmMessage;

TCheck Org(TAsmContext& c, const TAsmStatement& st) {
  if (auto f = CheckCount(st, 1, 1)) return f;
  const TOperand& op = st.operands[0];
  if (auto f = CheckPlainValue(op)) return f;
  if (c.codeEmitted) return FailOperand(M::OrgAfterCode, op);
  if (op.value < 1) return FailOperand(M::OrgFromOne, op);
  if (op.value > 65535) return FailOperand(M::Address16, op);
  if (c.Active()) c.start = c.counter = op.value;
  return {};
}

// DB #byte, DB "text"; DW #word, high byte first.
TCheck Data(const TAsmStatement& st, bool word, std::string& bytes) {
  if (auto f = CheckCount(st, 1, 1)) return f;
  const TOperand& op = st.operands[0];
  if (!word && op.kind == TOperandKind::String) {
    bytes = op.bytes;
    return {};
  }
  if (!word && op.kind == TOperandKind::BadString) return FailOperand(M::StringQuotes, op);
  if (auto f = CheckPlainValue(op)) return f;
  if (!op.immediate) return FailOperand(M::ImmediateExpected, op);
  if (op.value < 0 || op.value > (word ? 65535 : 255)) return FailOperand(word ? M::WordRange : M::ByteRange, op);
  if (word) bytes += static_cast<char>((op.value >> 8) & 0xFF);
  bytes += static_cast<char>(op.value & 0xFF);
  return {};
}

// A block opens even when its condition fails, so that ELSE and END IF stay paired.
TCheck If(TAsmContext& c, const TAsmStatement& st) {
  TCheck f = CheckCount(st, 1, 1);
  if (!f) f = CheckPlainValue(st.operands[0]);
  c.blocks.push_back({!f && st.operands[0].value != 0, false});
  return f;
}

TCheck Else(TAsmContext& c, const TAsmStatement& st) {
  if (auto f = CheckCount(st, 0, 0)) return f;
  if (c.blocks.empty() || c.blocks.back().inElse) return FailMnemonic(M::IfMissing, st);
  c.blocks.back().inElse = true;
  return {};
}

// "END IF" closes the innermost block (none open: nothing); a bare END does nothing.
TCheck End(TAsmContext& c, const TAsmStatement& st) {
  if (st.Count() == 0) return {};
  if (st.Count() > 1 || UpperCase(st.operands[0].text) != "IF") {
    const TOperand& wrong = st.Count() > 1 && UpperCase(st.operands[0].text) == "IF" ? st.operands[1] : st.operands[0];
    return FailOperand(M::InvalidParameters, wrong);
  }
  if (!c.blocks.empty()) c.blocks.pop_back();
  return {};
}

// DEFINE "file" states that the assembler text relies on a file beside the project; the
// file must exist, and its contents are not read.
TCheck Define(const TAsmContext& c, const TAsmStatement& st) {
  if (auto f = CheckCount(st, 1, 1)) return f;
  const TOperand& op = st.operands[0];
  if (op.kind != TOperandKind::String) return FailOperand(M::ConstantUndefined, op);
  if (!c.options.fileExists || !c.options.fileExists(op.bytes)) return FailOperand(M::FileNotFound, op);
  return {};
}

}  // namespace

bool IsDirective(std::string_view upperMnemonic) {
  static constexpr std::array<std::string_view, 8> kDirectives = {"DB", "DEFINE", "DW", "ELSE", "END", "EQU", "IF", "ORG"};
  for (std::string_view d : kDirectives) {
    if (d == upperMnemonic) return true;
  }
  return false;
}

TCheck AssembleDirective(TAsmContext& c, const TAsmStatement& st, std::string& bytes) {
  const std::string& d = st.mnemonic;
  if (d == "ORG") return Org(c, st);
  if (d == "DB") return Data(st, false, bytes);
  if (d == "DW") return Data(st, true, bytes);
  if (d == "IF") return If(c, st);
  if (d == "ELSE") return Else(c, st);
  if (d == "END") return End(c, st);
  if (d == "DEFINE") return Define(c, st);
  // EQU: the label checks have taken the value.
  return CheckCount(st, 0, 1);
}

}  // namespace zarvek::hc05
