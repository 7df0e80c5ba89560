#include "compiler/emit.h"
#include "compiler/messages.h"

#include "compiler/diagnostics.h"
#include "compiler/symbol_table.h"
#include "base/tokens.h"

namespace zarvek {

std::string ConstantPush(const TCompilerContext& c, int64_t value) {
  std::string bytes;
  if (c.Pyxon() && value >= 0 && value <= 255) {
    bytes.push_back(static_cast<char>(tok::PUSHB));
    bytes.push_back(static_cast<char>(value));
  } else {
    bytes.push_back(static_cast<char>(tok::PUSHW));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    bytes.push_back(static_cast<char>(value & 0xFF));
  }
  return bytes;
}

void EmitJump(TCompilerContext& c, uint8_t token, const std::string& label) {
  EmitByte(c, token);
  AddFixup(c, label);
}

TFixupKind FixupKindOf(std::string_view text) {
  if (text.starts_with('^')) return TFixupKind::AssemblerLabel;
  if (text.starts_with('<')) return TFixupKind::TableEntry;
  if (text == "*PROGLEN*BIT") return TFixupKind::ProgramLengthBits;
  if (text == "*PROGLEN*BYTE") return TFixupKind::ProgramLengthBytes;
  if (text == "*PROGLEN*WORD") return TFixupKind::ProgramLengthWords;
  if (text.find('|') != std::string_view::npos) return TFixupKind::ScopedLabel;
  return TFixupKind::Symbol;
}

void AddFixup(TCompilerContext& c, const std::string& text, int32_t argumentCount) {
  if (text.empty()) {
    CompileError(c, "", msg::LabelNameExpected);
    return;
  }
  c.fixups.push_back(TFixup{text, static_cast<uint32_t>(c.code.size() + 1), c.errorPosition, argumentCount});
  EmitWord(c, 0);
}

TCodePiece CutCode(TCompilerContext& c, size_t from) {
  TCodePiece piece;
  piece.bytes = c.code.substr(from);
  c.code.resize(from);
  for (auto it = c.fixups.begin(); it != c.fixups.end();) {
    if (it->slot - 1 >= from) {
      piece.fixups.push_back(*it);
      piece.fixups.back().slot = static_cast<uint32_t>(it->slot - 1 - from);
      it = c.fixups.erase(it);
    } else {
      ++it;
    }
  }
  return piece;
}

void AppendPiece(TCompilerContext& c, const TCodePiece& piece) {
  const size_t base = c.code.size();
  c.code += piece.bytes;
  for (TFixup f : piece.fixups) {
    f.slot += static_cast<uint32_t>(base + 1);
    c.fixups.push_back(std::move(f));
  }
}

void DefineLabel(TCompilerContext& c, const std::string& name, const std::string& procedure) {
  DefineLabelAt(c, name, static_cast<int64_t>(c.code.size()) + 4, procedure);
}

void DefineLabelAt(TCompilerContext& c, const std::string& name, int64_t address, const std::string& procedure) {
  Tlabel label;
  label.name = name;
  label.address = address;
  label.value = procedure;
  label.kind = KindBit(kind::Label);
  label.scope = -1;
  label.module = c.moduleIndex;
  label.sourcePosition = c.errorPosition;
  AddSymbol(c, std::move(label));
}

}  // namespace zarvek
