// CompileProgram: preparation, the statement loop and its dispatch, the directives.
#include <chrono>
#include <cmath>

#include "compiler/control_flow.h"
#include "compiler/diagnostics.h"
#include "compiler/driver.h"
#include "compiler/emit.h"
#include "compiler/expression.h"
#include "compiler/messages.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/statements.h"
#include "compiler/variables.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

void ResetContext(TCompilerContext& c, const TCompileInput& in) {
  c = TCompilerContext{};
  c.profile = in.profile;
  c.projectFileName = in.projectFileName;
  SetAsmLabels(c, in.assemblerLabels);
  c.silent = in.silent;
  c.progress = in.progress;
  c.cancel = in.cancel;
  c.modules = in.modules;
  c.assemblerLines = in.assemblerLines;
  c.assemblerLabelNames = in.assemblerLabelNames;
  c.memoryDumpWanted = in.memoryDump;
  c.source = in.source;
  c.eepromSize = c.profile == profile::Tessel11 ? 8192 : 65535;
  c.clockKHz = 4000;
  if (c.Pyxon()) {
    c.memoryMaps.resize(3);
    c.memoryMaps[0].owner = -1;
    c.memoryMaps[1].owner = 1;
    c.memoryMaps[2].owner = 2;
    c.discard = std::string(1, static_cast<char>(tok::DROP));
  } else {
    // The Tessel runtimes have no DROP: AND with 0, then OR, folds the top into the cell below.
    const uint8_t discard[] = {tok::PUSHW, 0, 0, tok::AND, tok::OR};
    c.discard.assign(std::begin(discard), std::end(discard));
  }
}

// The inline-bytes statement "$": constant expressions separated by commas.
void CompileInlineBytes(TCompilerContext& c) {
  for (;;) {
    EmitByte(c, static_cast<uint8_t>(CompileExpression(c, kConstantMask)));
    SkipBlanks(c);
    if (c.errorReported || c.Current() != ',') break;
    ++c.position;
  }
  ExpectEnd(c);
}

void CompileRangeDirective(TCompilerContext& c, int64_t low, int64_t high, int code, uint32_t& target) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const int32_t value = CompileExpression(c, kConstantMask);
  if (c.errorReported) return;
  if (value < low || value > high) {
    c.errorPosition = at;
    CompileError(c, std::to_string(value), code);
    return;
  }
  target = static_cast<uint32_t>(value);
  ExpectEnd(c);
}

void CompileMemoryDirective(TCompilerContext& c, uint8_t selector) {
  // Reported at the directive itself, whatever follows it.
  if (!c.symbols.empty() || c.programMemorySelector != 0) return ReportAtStatement(c, msg::MemoryDirectiveTooLate);
  c.programMemorySelector = selector;
  ExpectEnd(c);
}

void Dispatch(TCompilerContext& c, const std::string& word) {
  const std::string w = UpperCase(word);
  if (w == "PRINT") return CompilePrint(c);
  if (w == "TYPE") return CompileType(c);
  if (w == "$") return CompileInlineBytes(c);
  if (w == "SELECT") return CompileSelect(c);
  if (w == "CASE") return CompileCase(c);
  if (w == "SUB" || w == "FUNCTION") return CompileProcedureHead(c, w == "FUNCTION");
  if (w == "OPEN") return CompileOpen(c);
  if (w == "CLOSE") return CompileClose(c);
  if (w == "CALL") return CompileCall(c);
  if (w == "SETBAUD") return CompileSetBaud(c);
  if (w == "CONST") return CompileConst(c);
  if (w == "EXIT") return CompileExit(c);
  if (w == "IF" || w == "ELSEIF" || w == "ELSE") return CompileIf(c, w);
  if (w == "END") return CompileEnd(c);
  if (w == "FOR") return CompileFor(c);
  if (w == "NEXT") return CompileNext(c);
  if (w == "DO") return CompileDo(c);
  if (w == "LOOP") return CompileLoop(c);
  if (w == "INTERRUPT" || w == "KEYINTERRUPT") return CompileInterruptSwitch(c, w);
  if (w == "ON") return CompileOnInterrupt(c);
  if (w == "SWITCH" || w == "PULSE") return CompilePinStatement(c, w);
  if (w == "DEACT") return CompileDeact(c);
  if (w == "INPUT") return CompileInput(c);
  if (w == "DIM") return CompileDim(c);
  if (w == "GOTO" || w == "GOSUB" || w == "RETURN") return CompileGoto(c, w);
  if (w == "RANDOMIZE" || w == "PAUSE" || w == "SLOWMODE" || w == "POKE") return CompileSimpleStatement(c, w);
  if (w == "MODULE") return CompileModule(c);
  if (w == "$INCLUDE") return CompileInclude(c);
  if (w == "$EEPROM") {
    uint32_t size = c.eepromSize;
    CompileRangeDirective(c, 1, 65535, msg::EepromSizeRange, size);
    c.eepromSize = static_cast<uint16_t>(size);
    return;
  }
  if (w == "$CLOCK") return CompileRangeDirective(c, 4000, 16000, msg::ClockRange, c.clockKHz);
  if (w == "$XEEPROM") return CompileMemoryDirective(c, 1);
  if (w == "$IEEPROM") return CompileMemoryDirective(c, 2);
  if (c.Current() == ':') return CompileLabel(c, word);
  CompileAssignment(c, word);
}

void ShowProgress(TCompilerContext& c, std::chrono::steady_clock::time_point& last) {
  const auto now = std::chrono::steady_clock::now();
  if (now - last < std::chrono::milliseconds(200)) return;
  last = now;
  const int percent = static_cast<int>(std::lround(100.0 * c.position / std::max<size_t>(c.source.size(), 1)));
  c.statusText = CompilingStatus(percent);
  if (c.progress) c.progress(percent);
}

void StatementLoop(TCompilerContext& c) {
  auto lastProgress = std::chrono::steady_clock::now();
  while (static_cast<size_t>(c.position) <= c.source.size() && !c.errorReported) {
    if (c.cancel != nullptr && c.cancel->load(std::memory_order_relaxed)) {
      c.cancelled = true;
      return;
    }
    if (c.code.size() > 65535) {
      c.errorPosition = c.position;
      CompileError(c, "", msg::ProgramTooLong);
      break;
    }
    // The innermost module whose text holds the statement; its line end before the
    // module text still belongs to the including text.
    c.moduleIndex = -1;
    for (int k = static_cast<int>(c.includes.size()) - 1; k >= 0; --k)
      if (c.includes[k].start < c.position && c.position <= c.includes[k].start + c.includes[k].length) {
        c.moduleIndex = k;
        break;
      }
    const uint32_t codeLength = static_cast<uint32_t>(c.code.size());
    if (!c.statementMap.empty() && c.statementMap.back().codeOffset == codeLength)
      c.statementMap.back() = {codeLength, static_cast<uint32_t>(c.position), c.moduleIndex};
    else
      c.statementMap.push_back({codeLength, static_cast<uint32_t>(c.position), c.moduleIndex});
    c.statementAddress = static_cast<int32_t>(codeLength) + 4;

    const std::string word = ReadWord(c);
    if (c.errorReported) break;
    if (c.wordIsFirstOfLine) CloseLineBlocks(c);
    if (word.empty()) {
      if (c.At(c.position - 1) == '=') {
        c.errorPosition = c.position - 1;
        CompileError(c, "", msg::AssignmentTargetExpected);
      }
      continue;
    }
    ShowProgress(c, lastProgress);
    Dispatch(c, word);
  }
}

}  // namespace

// An underscore after a blank and before a blank, a comment or the line end joins the
// line with the next one. It and the line end become blanks, so every position stays
// where it was.
void JoinContinuedLines(TCompilerContext& c, size_t first, size_t end) {
  std::string& s = c.source;
  bool inString = false;
  for (size_t i = first + 1; i + 1 < end && !c.errorReported; ++i) {
    if (s[i] == '"') inString = !inString;
    if (inString || s[i] != '_') continue;
    const char next = s[i + 1], prev = s[i - 1];
    if (!(IsBlank(next) || next == '\'' || IsLineEnd(next)) || !(IsBlank(prev) || IsLineEnd(prev))) continue;
    s[i] = ' ';
    size_t j = i + 1;
    while (j < end && IsBlank(s[j])) ++j;
    if (j < end && s[j] == '\'')
      while (j < end && !IsLineEnd(s[j])) s[j++] = ' ';
    if (j >= end) break;
    if (IsLineEnd(s[j])) {
      // CR LF, or a lone CR or LF: the line end disappears.
      if (s[j] == '\r' && j + 1 < end && s[j + 1] == '\n') s[j++] = ' ';
      s[j] = ' ';
      i = j;
      continue;
    }
    c.errorPosition = static_cast<int32_t>(j) + 1;
    CompileError(c, "", msg::EndExpected);
  }
}

void RunCompilation(TCompilerContext& c, const TCompileInput& input, std::string& image) {
  ResetContext(c, input);
  JoinContinuedLines(c, 0, c.source.size());
  StatementLoop(c);
  if (!c.cancelled) {
    CloseLineBlocks(c);
    image = PostPass(c);
  }
  c.lineIndex.emplace(c.source, c.includes);
}

}  // namespace zarvek
