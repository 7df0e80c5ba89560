// What follows the statement loop: the initialisation code, the prologue, relocation,
// fixups and the image; and linking with the assembler part.
#include <algorithm>
#include <charconv>
#include <optional>

#include "compiler/diagnostics.h"
#include "compiler/driver.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/messages.h"
#include "compiler/reserved_words.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

const char* const kNilString = "~i.NIL.$";

std::optional<int64_t> ParseNumber(const std::string& text) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

// String variables without an initial value refer to one shared empty string.
void ReferToEmptyString(TCompilerContext& c) {
  int nil = -1;
  for (size_t k = 0; k < c.symbols.size(); ++k) {
    Tlabel& s = c.symbols[k];
    if (s.kind != KindBit(kind::String) || !s.value.empty()) continue;
    if (nil < 0) {
      nil = DefineStringConstant(c, kNilString, "");
      c.symbols[nil].used = true;
    }
    c.symbols[k].value = std::to_string(StringReference(c.symbols[nil]));
  }
}

void BuildEepromImage(TCompilerContext& c) {
  if (!c.Pyxon() || c.memoryMaps.size() < 3) return;
  const std::vector<uint8_t>& map = c.memoryMaps[c.programMemorySelector == 2 ? 2 : 1].bytes;
  const auto last = std::find_if(map.rbegin(), map.rend(), [](uint8_t b) { return b != 0; });
  c.eepromImage.assign(map.begin(), last.base());
}

void WriteEepromValue(TCompilerContext& c, const Tlabel& s, int64_t value) {
  const auto byteAt = [&](int64_t at) -> char& {
    if (static_cast<int64_t>(c.eepromImage.size()) <= at) c.eepromImage.resize(static_cast<size_t>(at) + 1, '\0');
    return c.eepromImage[static_cast<size_t>(at)];
  };
  if (HasKind(s.kind, kind::Bit)) {
    char& b = byteAt(s.address / 8);
    const char mask = static_cast<char>(1 << (s.address % 8));
    b = value != 0 ? static_cast<char>(b | mask) : static_cast<char>(b & ~mask);
  } else if (HasKind(s.kind, kind::Byte)) {
    byteAt(s.address) = static_cast<char>(value);
  } else {
    byteAt(2 * s.address) = static_cast<char>(value >> 8);
    byteAt(2 * s.address + 1) = static_cast<char>(value);
  }
}

// PINWRITE, PORTWRITE or WPORTWRITE of the value pushed before, for a port variable with
// an initial value. Port 3 is an input on the boards other than Tessel 2.0 (135).
void EmitInitialPortWrite(TCompilerContext& c, const Tlabel& s) {
  const auto write = [&](uint8_t token, bool withOperand) {
    c.initCode += static_cast<char>(token);
    if (withOperand) c.initCode += static_cast<char>(s.address);
  };
  const bool inputPort = c.profile != profile::Tessel20;
  if (HasKind(s.kind, kind::Bit)) {
    write(tok::PINWRITE, true);
    if (inputPort && s.address / 8 == 2) CompileError(c, s.name, msg::AdReadOnly);
  } else if (HasKind(s.kind, kind::Byte)) {
    write(tok::PORTWRITE, true);
    if (inputPort && s.address == 2) CompileError(c, s.name, msg::AdReadOnly);
  } else if (HasKind(s.kind, kind::Word) || HasKind(s.kind, kind::String)) {
    write(tok::WPORTWRITE, c.Pyxon());
  }
}

// The initialisation code of one variable: its value pushed, then stored.
void EmitInitialStore(TCompilerContext& c, int symbol, int64_t value) {
  const Tlabel s = c.symbols[static_cast<size_t>(symbol)];
  c.errorPosition = s.sourcePosition;
  c.initCode += ConstantPush(c, value);
  if (HasKind(s.kind, kind::Port) || HasKind(s.kind, kind::DaOutput)) c.symbols[static_cast<size_t>(symbol)].used = true;
  if (HasKind(s.kind, kind::AdInput)) return CompileError(c, s.name, msg::AdNotInitialisable);
  if (s.kind == Kinds(kind::Byte, kind::DaOutput)) {
    c.initCode += static_cast<char>(tok::DAWRITE);
    c.initCode += static_cast<char>(s.address);
    return;
  }
  if (HasKind(s.kind, kind::Port)) return EmitInitialPortWrite(c, s);
  if ((s.kind & Kinds(kind::Bit, kind::Byte, kind::Word, kind::String)) != 0) c.initCode += EmitStore(c, symbol).bytes;
}

// One store per variable with an initial value; EEPROM variables go into the EEPROM image.
void BuildInitialisation(TCompilerContext& c) {
  const uint32_t skip = Kinds(kind::Label, 1, kind::Table, kind::Sub, kind::Function, kind::StringConst, kind::StructVar);
  for (size_t k = 0; k < c.symbols.size() && !c.errorReported; ++k) {
    const Tlabel& s = c.symbols[k];
    if (s.value.empty() || (s.kind & skip) != 0) continue;
    const int64_t value = ParseNumber(s.value).value_or(0);
    if (HasKind(s.kind, kind::ExternalEeprom) || HasKind(s.kind, kind::InternalEeprom)) WriteEepromValue(c, s, value);
    else EmitInitialStore(c, static_cast<int>(k), value);
  }
}

// The symbol a name or "name|scope" fixup refers to, checked: a GOTO target must be a
// label of the same procedure, a call must pass as many arguments as the procedure takes.
// -1 after an error.
int FixupTarget(TCompilerContext& c, const TFixup& f) {
  std::string name = f.text;
  if (FixupKindOf(f.text) == TFixupKind::ScopedLabel) {
    const size_t bar = name.find('|');
    const std::string scope = name.substr(bar + 1);
    name.resize(bar);
    if (const int s = FindSymbol(c, name, kAnyScope); s >= 0) {
      if (c.symbols[s].kind != KindBit(kind::Label)) return CompileError(c, name, msg::LabelExpected), -1;
      if (UpperCase(c.symbols[s].value) != UpperCase(scope)) return CompileError(c, name, msg::GotoOutOfProcedure), -1;
    }
  }
  const int s = FindSymbol(c, name, kAnyScope);
  if (s < 0) {
    // INTERRUPT ON without its handler.
    if (UpperCase(name) == "INTERRUPT") CompileError(c, "", msg::InterruptHandlerMissing);
    else CompileError(c, name + "()", msg::Unknown);
    return -1;
  }
  Tlabel& symbol = c.symbols[s];
  symbol.used = true;  // a reference resolved here counts as a use (calls of later FUNCTIONs)
  if (HasKind(symbol.kind, kind::Sub) || HasKind(symbol.kind, kind::Function)) {
    const int64_t declared = ParseNumber(symbol.value).value_or(0);
    if (declared != f.argumentCount) return CompileError(c, std::to_string(declared), msg::ArgumentCountMismatch), -1;
  }
  return s;
}

// The 16-bit value a fixup receives; nothing after an error.
std::optional<int64_t> FixupValue(TCompilerContext& c, const TFixup& f, int64_t codeTotal, int64_t programLength) {
  switch (FixupKindOf(f.text)) {
    case TFixupKind::TableEntry: return ParseNumber(f.text.substr(1)).value_or(0) + codeTotal + 2;
    case TFixupKind::ProgramLengthBits: return programLength * 8;
    case TFixupKind::ProgramLengthBytes: return programLength;
    case TFixupKind::ProgramLengthWords: return programLength / 2;
    case TFixupKind::AssemblerLabel: return std::nullopt;  // the linker's
    case TFixupKind::Symbol:
    case TFixupKind::ScopedLabel: break;
  }
  const int s = FixupTarget(c, f);
  if (s < 0) return std::nullopt;
  return c.symbols[static_cast<size_t>(s)].address;
}

void ReportUnclosedBlock(TCompilerContext& c) {
  if (c.blocks.empty()) return;
  const TBlock& top = c.blocks.back();
  c.errorPosition = top.start;
  switch (top.kind) {
    case TBlockKind::Do: case TBlockKind::DoWhile: return CompileError(c, "", msg::DoWithoutLoop);
    case TBlockKind::For: return CompileError(c, "", msg::ForWithoutNext);
    case TBlockKind::If: case TBlockKind::IfElse: case TBlockKind::IfElseIf: return CompileError(c, "", msg::EndIfExpected);
    case TBlockKind::Sub: return CompileError(c, "", msg::EndSubExpected);
    case TBlockKind::Function: return CompileError(c, "", msg::EndFunctionExpected);
    case TBlockKind::Select: return CompileError(c, "", msg::EndSelectExpected);
  }
}

void PatchWord(std::string& bytes, uint32_t slot, int64_t value) {
  bytes[slot - 1] = static_cast<char>((value >> 8) & 0xFF);
  bytes[slot] = static_cast<char>(value & 0xFF);
}

void ResolveFixups(TCompilerContext& c, int64_t codeTotal, int64_t programLength) {
  for (TFixup& f : c.fixups) {
    if (c.errorReported) return;
    c.errorPosition = f.sourcePosition;
    if (FixupKindOf(f.text) == TFixupKind::AssemblerLabel) {
      // Resolved by the linker in the image, where the initialisation code comes first.
      f.slot += static_cast<uint32_t>(c.initCode.size());
      continue;
    }
    if (const auto value = FixupValue(c, f, codeTotal, programLength)) PatchWord(c.code, f.slot, *value);
  }
}

// What an unused symbol of these kinds is called in its warning; labels get none.
std::optional<TUnusedKind> UnusedKind(uint32_t k) {
  if (HasKind(k, kind::Constant) || HasKind(k, kind::Table)) return TUnusedKind::Constant;
  if (HasKind(k, kind::Function)) return TUnusedKind::Function;
  if (HasKind(k, kind::Sub)) return TUnusedKind::Sub;
  if (HasKind(k, kind::StringConst)) return TUnusedKind::StringConstant;
  if (HasKind(k, kind::String) || HasKind(k, kind::StringStar)) return TUnusedKind::String;
  if (HasKind(k, kind::Structure)) return TUnusedKind::Structure;
  if (k != KindBit(kind::Label)) return TUnusedKind::Variable;
  return std::nullopt;
}

// Writes the addresses of the assembler labels that BASIC refers to into the image.
void PatchAssemblerLabels(TCompilerContext& c, std::string& image, const std::vector<TAsmLabel>& labels) {
  for (const TFixup& f : c.fixups) {
    if (c.errorReported) return;
    if (FixupKindOf(f.text) != TFixupKind::AssemblerLabel) continue;
    c.errorPosition = f.sourcePosition;
    const std::string name = f.text.substr(1);
    const int label = FindAsmLabel(c, name);
    if (label < 0) CompileError(c, name, msg::AssemblerLabelMissing);
    else if (image.size() > f.slot + 1) PatchWord(image, f.slot, labels[static_cast<size_t>(label)].address);
    else CompileError(c, "", msg::LinkerCrashed);
  }
}

// One warning per symbol the program never uses.
void ListUnusedSymbols(const TCompilerContext& c, TLinkResult& result) {
  std::string warningsText;
  for (const Tlabel& s : c.symbols) {
    // Names the compiler makes up for itself are no concern of the user's.
    if (s.used || s.name.empty() || s.name[0] == '~' || s.name[0] == '.') continue;
    const auto kind = UnusedKind(s.kind);
    if (!kind) continue;
    const std::string text = s.name + std::string(UnusedSymbolText(*kind));
    warningsText += " " + text + "\r\n";
    const TSourceLocation at = Locate(c, s.sourcePosition);
    std::string line = text;
    while (line.back() == ' ') line.pop_back();
    result.warnings.push_back(TWarning{s.sourcePosition, s.name, TCp1252Text(line), at.mapped, at.line, at.column});
  }
  result.warningsText = TCp1252Text(std::move(warningsText));
}

}  // namespace

std::string PostPass(TCompilerContext& c) {
  EmitByte(c, tok::END);
  ReferToEmptyString(c);
  BuildEepromImage(c);
  BuildInitialisation(c);

  const int error = FindSymbol(c, "ERROR", -1), crash = FindSymbol(c, "CRASH", -1);
  const int64_t prologueLength = (error >= 0 ? 4 : 0) + (crash >= 0 ? 4 : 0);
  const int64_t shift = prologueLength + static_cast<int64_t>(c.initCode.size());
  const uint32_t codeKinds = Kinds(kind::Label, kind::Sub, kind::Function);
  for (Tlabel& s : c.symbols)
    if (s.kind != 0 && (s.kind & ~codeKinds) == 0) s.address += shift;
  auto vector = [](uint8_t kind, int64_t address) {
    return std::string{static_cast<char>(tok::SETHANDLER), static_cast<char>(kind),
                       static_cast<char>((address >> 8) & 0xFF), static_cast<char>(address & 0xFF)};
  };
  if (error >= 0) c.initCode = vector(254, c.symbols[error].address) + c.initCode;
  if (crash >= 0) c.initCode = vector(255, c.symbols[crash].address) + c.initCode;

  if ((4 + c.code.size() + c.tableArea.size()) % 2 != 0) c.tableArea.push_back(static_cast<char>(0xFF));
  ReportUnclosedBlock(c);

  const int64_t codeTotal = static_cast<int64_t>(c.initCode.size() + c.code.size());
  const int64_t programLength = static_cast<int64_t>(c.tableArea.size()) + 4 + codeTotal;
  ResolveFixups(c, codeTotal, programLength);

  for (TStatementMapRecord& r : c.statementMap) r.codeOffset += static_cast<uint32_t>(c.initCode.size());
  std::string image = c.initCode + c.code + c.tableArea + c.eepromImage;
  if (image.size() > c.eepromSize) c.statusText = LargerEepromStatus();
  else if (!c.errorReported) c.statusText.clear();
  if (c.memoryDumpWanted) c.memoryDump = MemoryDumpText(c, image.size());
  c.memoryMaps.clear();
  return image;
}

TLinkResult Link(TCompilerContext& c, std::string& image, const std::vector<TAsmLabel>& labels, bool warnings) {
  TLinkResult result;
  SetAsmLabels(c, labels);
  PatchAssemblerLabels(c, image, labels);
  result.success = !c.errorReported;
  result.error = c.error;
  if (result.success && warnings) ListUnusedSymbols(c, result);
  return result;
}

}  // namespace zarvek
