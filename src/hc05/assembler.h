// TAssembler: the 68HC05 assembler. It turns the assembler text of a project (all modules
// joined into one list of lines) into machine code with a start address, a map from code
// positions to source lines and the code positions of breakpoints. It returns its results
// and its first error and touches no window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/symbols.h"
#include "hc05/asm_messages.h"
#include "hc05/asm_symbols.h"

namespace zarvek::hc05 {

// The lines a module occupies in the joined assembler text.
struct TAsmModuleRange {
  std::string name;  // cp1252
  int32_t firstLine = 0;
  int32_t lineCount = 0;
};

struct TAssembleOptions {
  // The BASIC program's names, visible to the assembler text (nullptr: none).
  const std::vector<Tlabel>* basicSymbols = nullptr;
  std::vector<int32_t> breakpointLines;  // line indexes
  std::vector<TAsmModuleRange> modules;
  // Whether the file a DEFINE names exists (no callback: no file exists).
  std::function<bool(const std::string& fileName)> fileExists;
  bool showSize = false;  // the caption carries the code size
};

struct TAsmLineMapEntry {
  uint32_t position = 0;  // offset into the code
  int32_t line = 0;       // line index
  bool operator==(const TAsmLineMapEntry&) const = default;
};

struct TAsmError {
  std::string message;        // UTF-8, module suffix included
  int32_t line = 0;           // line index
  int field = 0;              // 0 label, 1 mnemonic, 2 and up the operands
  int column = 1;             // 1-based column where that field starts
  std::string offendingText;  // cp1252
  TAsmErrorSet set;
};

struct TAssembly {
  bool success = false;
  std::string code;  // bytes from the start address on
  uint32_t startAddress = 257;
  std::vector<TAsmLineMapEntry> lineMap;  // one entry per line that emitted bytes
  std::vector<uint16_t> breakpointPositions;
  std::optional<TAsmError> error;  // the first error
  std::string sizeCaption;         // for the project tree's assembler node
};

inline constexpr uint32_t kAsmDefaultStart = 257;

class TAssembler {
 public:
  // Empties the symbol table and enters the leading word of every line that does not
  // begin with a blank, "*", ";" or a tab, so that the BASIC compiler knows the labels.
  void PreRegisterLabels(const std::vector<std::string>& lines);
  TAssembly Assemble(const std::vector<std::string>& lines, const TAssembleOptions& options);
  std::vector<TAsmSymbol> Symbols() const { return m_symbols.All(); }
  // Binary search by upper-cased name; when not found, index is the insertion point.
  bool FindSymbol(std::string_view name, int& index) const { return m_symbols.Find(name, index); }
  // The symbol at an index FindSymbol gave; nullptr outside the table.
  const TAsmSymbol* Symbol(int index) const {
    return index >= 0 && index < m_symbols.Size() ? &m_symbols.At(index) : nullptr;
  }

 private:
  TAsmSymbolTable m_symbols;
};

// The leading word of every line that does not begin with a blank, "*", ";" or a tab: the
// labels known by name before the text is assembled.
std::vector<std::string> PreRegisteredLabelNames(const std::vector<std::string>& lines);

// "Assembler (1 Byte)", "Assembler (N Bytes)", or "Assembler" without sizes.
std::string AsmSizeCaption(size_t bytes, bool showSize);
// The line the listing memo gets: "Assembler", then a blank and the decimal value of each
// byte; empty for code of 3000 bytes or more.
std::string AsmListing(std::string_view code);

}  // namespace zarvek::hc05
