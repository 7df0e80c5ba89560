#include "workspace/asm_help.h"

#include <algorithm>

#include "hc05/asm_reserved.h"
#include "text/names.h"

namespace zarvek::workspace {

namespace {

using namespace hc05::asmclass;

bool IsWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u == '.' ||
         u == '$' || u == '%' || u == '@' || u >= 0xC0;
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whether the caret offset lies in a comment or a string of an assembler line.
bool InCommentOrString(std::string_view line, size_t caret) {
  if (!line.empty() && line[0] == '*') return true;
  char quote = 0;
  for (size_t i = 0; i < caret && i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      return true;
    }
  }
  return quote != 0;
}

struct TLineFields {
  std::string mnemonic;  // upper-cased; empty when the caret is not behind one
  bool caretInMnemonic = false;
  bool caretInLabel = false;
};

// Which field the caret is in: label (column 1), mnemonic, or the operands behind it.
TLineFields FieldsAt(std::string_view line, size_t caret) {
  TLineFields f;
  size_t i = 0;
  if (!line.empty() && !IsBlank(line[0])) {
    while (i < line.size() && !IsBlank(line[i])) ++i;  // the label
    if (caret <= i) {
      f.caretInLabel = true;
      return f;
    }
  }
  while (i < line.size() && IsBlank(line[i])) ++i;
  const size_t start = i;
  while (i < line.size() && !IsBlank(line[i])) ++i;
  if (caret <= i) {
    f.caretInMnemonic = caret >= start;
    return f;
  }
  f.mnemonic = UpperCase(line.substr(start, i - start));
  return f;
}

std::string WordBefore(std::string_view line, size_t caret) {
  size_t start = caret;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  return std::string(line.substr(start, caret - start));
}

void AddSymbols(std::vector<THelpEntry>& list, const std::vector<hc05::TAsmSymbol>& symbols, std::string_view prefix,
                bool labels, bool constants) {
  std::vector<const hc05::TAsmSymbol*> chosen;
  const std::string upperPrefix = UpperCase(prefix);
  for (const hc05::TAsmSymbol& s : symbols) {
    const bool wanted = (labels && s.kind == hc05::asmsymbol::Label) || (constants && s.kind == hc05::asmsymbol::Constant);
    if (wanted && UpperCase(s.name).starts_with(upperPrefix)) chosen.push_back(&s);
  }
  std::sort(chosen.begin(), chosen.end(), [](auto* a, auto* b) { return UpperCase(a->name) < UpperCase(b->name); });
  for (const hc05::TAsmSymbol* s : chosen)
    list.push_back({'e', s->name, s->kind == hc05::asmsymbol::Constant ? "= " + s->value : "Label", s->name, true});
}

const THelpEntry kConst{'d', " (#Const)", "", "#", false};
const THelpEntry kMemoryRam{'d', " (MEMORY Address) ... RAM = $50...$FF", "", "", false};
const THelpEntry kMemoryDirect{'f', " (MEMORY Address)", "", "", false};
const THelpEntry kIndexed{'d', "x (Offset Indexregister)", "", ",X", false};
const THelpEntry kBranchTarget{' ', "(Label)", "", "", false};

// The operand forms of a class, then the symbols that fit there.
std::vector<THelpEntry> OperandHelp(const hc05::TReservedName& name, std::string_view prefix,
                                    const std::vector<hc05::TAsmSymbol>& symbols) {
  std::vector<THelpEntry> list;
  switch (name.cls) {
    case Arithmetic:
      list = {kConst, kMemoryRam, kIndexed};
      AddSymbols(list, symbols, prefix, true, true);
      break;
    case ReadModify:
    case Store:
      list = {kMemoryRam, kIndexed};
      AddSymbols(list, symbols, prefix, false, true);
      break;
    case Jump:
      list = {kBranchTarget, kIndexed};
      AddSymbols(list, symbols, prefix, true, false);
      break;
    case Branch:
      if (name.name == "ORG") {
        list = {kMemoryRam};
        AddSymbols(list, symbols, prefix, false, true);
      } else {
        list = {kBranchTarget};
        AddSymbols(list, symbols, prefix, true, false);
      }
      break;
    case BitSet:
    case BitBranch:
      for (char bit = '0'; bit <= '7'; ++bit) list.push_back({' ', std::string(1, bit) + " bit", "", std::string(1, bit) + ",", false});
      list.push_back(kMemoryDirect);
      if (name.cls == BitBranch) list.push_back(kBranchTarget);
      AddSymbols(list, symbols, prefix, name.cls == BitBranch, true);
      break;
    case DefineByte:
      list = {kConst, {'d', "\"string\" ", "", "\"\"", false}, {'d', "'string' ", "", "''", false}};
      AddSymbols(list, symbols, prefix, false, true);
      break;
    case DefineWord:
      list = {kConst};
      if (name.name != "EQU") AddSymbols(list, symbols, prefix, true, true);
      break;
    case Conditional:
      AddSymbols(list, symbols, prefix, false, true);
      break;
    default:
      break;
  }
  return list;
}

}  // namespace

size_t HelpWordStart(std::string_view line, size_t caret) {
  caret = std::min(caret, line.size());
  return caret - WordBefore(line, caret).size();
}

std::string EntryString(const THelpEntry& entry) { return std::string(1, entry.tag) + entry.text; }

std::vector<THelpEntry> AssemblerHelp(std::string_view line, size_t caret, const std::vector<hc05::TAsmSymbol>& symbols) {
  caret = std::min(caret, line.size());
  if (InCommentOrString(line, caret)) return {};
  const TLineFields fields = FieldsAt(line, caret);
  const std::string word = WordBefore(line, caret);
  if (fields.caretInLabel) return {};
  if (fields.caretInMnemonic) {
    if (word.empty()) return {};
    std::vector<THelpEntry> list;
    for (const hc05::TReservedName& r : hc05::ReservedWithPrefix(UpperCase(word))) {
      const size_t br = r.help.find('\n');
      const std::string_view formula = br == std::string_view::npos ? r.help : r.help.substr(0, br);
      const std::string_view description = br == std::string_view::npos ? std::string_view{} : r.help.substr(br + 1);
      std::string first(r.name);
      if (!formula.empty()) first += "   " + std::string(formula);
      list.push_back({'d', first, std::string(description), std::string(r.name), true});
    }
    return list;
  }
  const hc05::TReservedName* mnemonic = hc05::FindReserved(fields.mnemonic);
  if (!mnemonic) return {};
  return OperandHelp(*mnemonic, word, symbols);
}

}  // namespace zarvek::workspace
