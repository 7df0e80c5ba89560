// Cutting an assembler source line (cp1252) into label, mnemonic, operands and comment,
// with the column each field starts in, so that a faulty field can be marked.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvek::hc05 {

struct TAsmField {
  std::string text;
  int column = 0;  // 1-based; 0 when the field is absent
};

struct TAsmLine {
  bool commentLine = false;  // the line begins with "*"
  TAsmField label;           // without its trailing ":"
  bool labelColon = false;
  TAsmField mnemonic;
  // Split at commas outside strings; blanks next to operator characters dropped, runs
  // of blanks shortened to one.
  std::vector<TAsmField> operands;
  std::string comment;  // after ";" (or "*"), without it
  bool HasLabel() const { return !label.text.empty(); }
};

TAsmLine SplitAsmLine(std::string_view line);

// The characters of a string operand written in matching quotes ("..." or '...', the
// enclosing quote doubled inside for one), or nothing when the text is not such a string.
std::optional<std::string> AsmStringValue(std::string_view operand);

}  // namespace zarvek::hc05
