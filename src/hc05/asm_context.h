// The assembler's state during one pass and what one line yields; shared by the parts of
// the line assembler, not part of the public interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hc05/asm_line.h"
#include "hc05/asm_messages.h"
#include "hc05/asm_reserved.h"
#include "hc05/asm_symbols.h"
#include "hc05/assembler.h"

namespace zarvek::hc05 {

struct TAsmFailure {
  TAsmErrorSet set;
  std::string offending;  // cp1252
  int field = 1;
};

using TCheck = std::optional<TAsmFailure>;

// The BASIC program's names by upper-cased name; a global name wins over a local one.
class TBasicNames {
 public:
  explicit TBasicNames(const std::vector<Tlabel>* symbols);
  const Tlabel* Find(std::string_view upperName) const;

 private:
  std::vector<std::pair<std::string, const Tlabel*>> m_sorted;
};

struct TAsmBlock {
  bool condition = false;
  bool inElse = false;
  bool Active() const { return condition != inElse; }
};

struct TAsmContext {
  TAsmContext(const std::vector<std::string>& l, const TAssembleOptions& o, TAsmSymbolTable& s, const TBasicNames& b)
      : lines(l), options(o), symbols(s), basic(b) {}
  const std::vector<std::string>& lines;
  const TAssembleOptions& options;
  TAsmSymbolTable& symbols;
  const TBasicNames& basic;
  // The passes before the output only size the code: a line that fails there still
  // takes the room its instruction will need, so that later labels get their place.
  bool sizing = true;
  int32_t start = kAsmDefaultStart;
  int32_t counter = kAsmDefaultStart;
  bool codeEmitted = false;
  std::vector<TAsmBlock> blocks;

  bool Active() const;
  void StartPass(bool sizingPass);
};

enum class TOperandKind { Empty, Index, String, BadString, Value, Failed };

struct TOperand {
  TOperandKind kind = TOperandKind::Empty;
  std::string text;  // as split
  int field = 2;
  int32_t value = 0;
  bool immediate = false;
  bool hasBit = false;  // address.bit
  int32_t bit = 0;
  std::string bytes;    // a string's characters
  TAsmFailure failure;  // Failed
  bool IsValue() const { return kind == TOperandKind::Value; }
};

// One line, split, with its mnemonic looked up and its operands analysed.
struct TAsmStatement {
  TAsmLine line;
  int32_t index = 0;
  std::string mnemonic;  // upper-cased
  const TReservedName* reserved = nullptr;
  std::vector<TOperand> operands;
  int Count() const { return static_cast<int>(operands.size()); }
};

struct TLineOutcome {
  std::string bytes;  // emitted (empty in an inactive block)
  std::optional<TAsmFailure> failure;
};

TAsmFailure Fail(TAsmErrorSet set, std::string offending, int field);
TAsmFailure FailOperand(TAsmErrorSet set, const TOperand& op);
TAsmFailure FailMnemonic(TAsmErrorSet set, const TAsmStatement& st);
// Too few operands: the mnemonic is at fault; too many: the first superfluous operand.
TCheck CheckCount(const TAsmStatement& st, int min, int max);
// The failure of the first operand that could not be evaluated.
TCheck FirstFailed(const TAsmStatement& st);
// Whether the operand is a plain value: not X, nothing, a string or a bit selection.
TCheck CheckPlainValue(const TOperand& op);
// Whether a line still carries the label `upperName`.
bool LineCarriesLabel(const std::vector<std::string>& lines, int32_t line, std::string_view upperName);

// asm_operand.cpp
TOperand AnalyzeOperand(const TAsmContext& c, const TAsmField& field, int fieldNumber);
// A fixed value as a constant's text: "#" for an immediate, the value, ".bit".
std::string OperandValueText(const TOperand& op);
// Whether a name (upper-cased) stands among the operand's names.
bool OperandMentions(std::string_view operand, std::string_view upperName);

// asm_labels.cpp: the label checks; for EQU also the constant's value text.
TCheck CheckLabel(TAsmContext& c, const TAsmStatement& st, std::string& constantValue);
TCheck DefineSymbol(TAsmContext& c, const TAsmStatement& st, uint8_t kind, const std::string& value);

// asm_instruction.cpp and asm_directives.cpp: the code of a reserved mnemonic.
TCheck AssembleInstruction(TAsmContext& c, const TAsmStatement& st, std::string& bytes);
TCheck AssembleDirective(TAsmContext& c, const TAsmStatement& st, std::string& bytes);
bool IsDirective(std::string_view upperMnemonic);
// The bytes a line will need when it cannot be assembled yet.
int GuessLength(const TAsmStatement& st);

// asm_line_assembler.cpp
TLineOutcome AssembleLine(TAsmContext& c, int32_t index);

}  // namespace zarvek::hc05
