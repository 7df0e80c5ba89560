// The passes: sizing passes until every label keeps its value (two in the ordinary case,
// as forward references need), then the output pass that collects the code, the line map
// and the breakpoint positions and stops at the first error.
#include "hc05/assembler.h"

#include <algorithm>

#include "hc05/asm_context.h"

namespace zarvek::hc05 {

namespace {

// Chains of forward references settle one link per pass; beyond this many the values
// are taken as they are and the output pass reports any that still move.
constexpr int kMaxSizingPasses = 8;

bool StartsPreRegistration(char c) { return c != ' ' && c != '*' && c != ';' && c != '\t'; }

// Symbols whose line no longer carries their name: the text was edited since they were
// defined.
void DropStaleSymbols(TAsmSymbolTable& symbols, const std::vector<std::string>& lines) {
  for (int i = symbols.Size(); i-- > 0;) {
    const TAsmSymbol& s = symbols.At(i);
    if (s.kind != asmsymbol::PreRegistered && !LineCarriesLabel(lines, s.line, UpperCase(s.name))) symbols.Erase(i);
  }
}

void RunSizingPasses(TAsmContext& c) {
  std::vector<TAsmSymbol> before;
  for (int pass = 0; pass < kMaxSizingPasses; ++pass) {
    c.StartPass(true);
    for (size_t i = 0; i < c.lines.size(); ++i) AssembleLine(c, static_cast<int32_t>(i));
    std::vector<TAsmSymbol> after = c.symbols.All();
    if (pass > 0 && before == after) return;
    before = std::move(after);
  }
}

// The innermost module whose line range holds the line; empty for the project's own text.
std::string ModuleOf(const TAssembleOptions& options, int32_t line) {
  const TAsmModuleRange* best = nullptr;
  for (const TAsmModuleRange& m : options.modules) {
    const bool inside = line >= m.firstLine && int64_t{line} < int64_t{m.firstLine} + m.lineCount;
    if (inside && (!best || m.lineCount < best->lineCount)) best = &m;
  }
  return best ? best->name : std::string();
}

int FieldColumn(const TAsmLine& line, int field) {
  if (field == 0) return 1;
  const size_t operand = static_cast<size_t>(field) - 2;
  if (field >= 2 && operand < line.operands.size()) return line.operands[operand].column;
  return std::max(line.mnemonic.column, 1);
}

TAsmError MakeError(const TAsmContext& c, int32_t index, const TAsmFailure& f) {
  TAsmError e;
  e.line = index;
  e.field = f.field;
  e.column = FieldColumn(SplitAsmLine(c.lines[static_cast<size_t>(index)]), f.field);
  e.offendingText = f.offending;
  e.set = f.set;
  e.message = ComposeAsmMessage(f.offending, f.set, ModuleOf(c.options, index));
  return e;
}

TAssembly RunOutputPass(TAsmContext& c) {
  TAssembly out;
  std::vector<int32_t> breakpoints = c.options.breakpointLines;
  std::sort(breakpoints.begin(), breakpoints.end());
  c.StartPass(false);
  bool breakpointPending = false;
  for (size_t i = 0; i < c.lines.size(); ++i) {
    const auto index = static_cast<int32_t>(i);
    TLineOutcome line = AssembleLine(c, index);
    if (line.failure) {
      out.error = MakeError(c, index, *line.failure);
      out.sizeCaption = AsmSizeCaption(0, false);
      return out;
    }
    // A breakpoint on a line without code moves to the next line with code.
    breakpointPending = breakpointPending || std::binary_search(breakpoints.begin(), breakpoints.end(), index);
    if (line.bytes.empty()) continue;
    const auto position = static_cast<uint32_t>(out.code.size());
    if (breakpointPending) out.breakpointPositions.push_back(static_cast<uint16_t>(position));
    breakpointPending = false;
    out.lineMap.push_back({position, index});
    out.code += line.bytes;
  }
  out.success = true;
  out.startAddress = static_cast<uint32_t>(c.start);
  out.sizeCaption = AsmSizeCaption(out.code.size(), c.options.showSize);
  return out;
}

}  // namespace

std::vector<std::string> PreRegisteredLabelNames(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines)
    if (!line.empty() && StartsPreRegistration(line[0])) names.push_back(line.substr(0, line.find_first_of(" *;:\t")));
  return names;
}

void TAssembler::PreRegisterLabels(const std::vector<std::string>& lines) {
  m_symbols.Clear();
  for (std::string& word : PreRegisteredLabelNames(lines))
    if (m_symbols.Insert({std::move(word), "", -1, asmsymbol::PreRegistered}) < 0) return;
}

TAssembly TAssembler::Assemble(const std::vector<std::string>& lines, const TAssembleOptions& options) {
  DropStaleSymbols(m_symbols, lines);
  const TBasicNames basic(options.basicSymbols);
  TAsmContext c(lines, options, m_symbols, basic);
  RunSizingPasses(c);
  return RunOutputPass(c);
}

std::string AsmSizeCaption(size_t bytes, bool showSize) {
  if (!showSize) return "Assembler";
  if (bytes == 1) return "Assembler (1 Byte)";
  return "Assembler (" + std::to_string(bytes) + " Bytes)";
}

std::string AsmListing(std::string_view code) {
  if (code.size() >= 3000) return {};
  std::string text = "Assembler";
  for (char b : code) text += " " + std::to_string(static_cast<uint8_t>(b));
  return text;
}

}  // namespace zarvek::hc05
