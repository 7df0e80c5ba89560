// The state of one compilation, shared by every part of the compiler (driver, scanner,
// declarations, expressions, statements). Positions are 1-based byte positions in the
// merged source.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/profile.h"
#include "compiler/compiler.h"
#include "compiler/line_index.h"
#include "base/symbols.h"

namespace zarvek {

// Code that is built apart from the main code and appended later (a store that follows
// its value, a FOR loop's step): its bytes and the fixups inside them, whose slots count
// from the piece's first byte (0-based).
struct TCodePiece {
  std::string bytes;
  std::vector<TFixup> fixups;
};

enum class TBlockKind : uint8_t {
  Do = 0,        // DO without condition
  DoWhile = 1,   // DO WHILE / UNTIL
  For = 2,
  If = 3,
  IfElse = 4,    // IF after ELSE
  IfElseIf = 5,  // IF after ELSEIF
  Sub = 7,
  Function = 8,
  Select = 9,
};

// An open IF, SELECT, FOR, DO, SUB or FUNCTION. Its labels are synthetic label names,
// defined when the statements of the block reach the places they stand for.
struct TBlock {
  int32_t start = 0;  // source position of the opening statement
  TBlockKind kind = TBlockKind::Do;
  std::string nextBranch;  // IF, SELECT: where the branch goes when its condition fails (empty once none is open)
  std::string end;         // IF, SELECT: the END IF / END SELECT; FOR, DO: behind the loop; SUB, FUNCTION: behind the body
  std::string top;         // FOR, DO: the top of the loop
  std::string name;        // FOR: the loop variable; SUB, FUNCTION: the procedure
  bool oneLine = false;    // IF: a one-line IF, which ends with its line
  bool branchSeen = false;     // SELECT: a CASE has been compiled
  bool caseElseSeen = false;   // SELECT: CASE ELSE has been compiled
  TCodePiece step;    // FOR: the code that pushes the step
  int resultKind = -1;  // FUNCTION: the kind bit of its declared result type, -1 without AS
};

// Allocation state of one memory on the Pyxon profiles: a used byte holds 255, bit
// variables set single bits. Global memory and the EEPROMs span the 16-bit address
// range; a procedure's map only its local frame.
struct TMemoryMap {
  int32_t owner = -1;  // -1 global memory, 1 external EEPROM, 2 internal EEPROM, else a procedure
  std::vector<uint8_t> bytes = std::vector<uint8_t>(65536, 0);
  int64_t extent = 0;  // every byte from here on is free
};

// Where the symbols of one name are: a look-up wants the first in a given scope or the
// global one, and must not walk over every procedure's local of that name.
struct TSymbolsOfName {
  int first = -1;
  int firstGlobal = -1;
  std::unordered_map<int32_t, int> firstInScope;  // procedure scopes only
};

// An operator waiting for its right operand, with its left operand's constant value.
struct TOperatorEntry {
  int32_t left = 0;
  std::string op;
};

struct TCompilerContext {
  // --- What the caller handed in ---
  TProfile profile = profile::Tessel11;
  std::string projectFileName;
  std::vector<TAsmLabel> asmLabels;  // change only through SetAsmLabels and AddAsmLabel
  std::unordered_map<std::string, int> asmLabelsByName;  // upper-cased name: first index
  bool silent = false;
  std::function<void(int)> progress;
  const std::atomic<bool>* cancel = nullptr;
  const TModuleLoader* modules = nullptr;
  std::function<std::vector<std::string>(const std::vector<std::string>&)> assemblerLabelNames;
  bool memoryDumpWanted = false;

  // --- Compilation state, reset at every start ---
  std::string source;      // merged BASIC text, cp1252
  std::string tableArea;   // string constants and ARRAY tables
  uint8_t programMemorySelector = 0;  // 0 not chosen, 1 external EEPROM, 2 internal EEPROM
  int32_t position = 1;
  int32_t errorPosition = 0;
  bool lastWordEndedLine = true;
  bool wordIsFirstOfLine = true;
  bool errorReported = false;
  bool cancelled = false;
  std::string code;        // main token code
  int32_t moduleIndex = -1;
  std::vector<TStatementMapRecord> statementMap;
  std::vector<TFixup> fixups;
  std::vector<TBlock> blocks;
  std::vector<TMemoryMap> memoryMaps;  // Pyxon: 0 global, 1 external EEPROM, 2 internal EEPROM
  std::string eepromImage;
  uint16_t eepromSize = 8192;
  uint32_t clockKHz = 4000;
  std::vector<Tlabel> symbols;  // add only through AddSymbol, which keeps the index
  std::unordered_map<std::string, TSymbolsOfName> symbolsByName;  // upper-cased name
  std::vector<TIncludeRecord> includes;
  std::vector<std::string> assemblerLines;  // the project's, then the modules' appended
  std::string projectModuleName;
  std::string discard;           // code that drops the top of the data stack
  int32_t currentProcedure = -1;  // symbol index of the SUB or FUNCTION being compiled
  int32_t statementAddress = 4;  // token address of the current statement
  std::string initCode;          // prologue and initialisation code (post-pass)
  std::vector<TOperatorEntry> operatorStack;
  // Synthetic label names handed out so far, and where the search for a fresh number
  // from a given start goes on (prefixes and start as the key): a DO nested right in
  // another shares its start, and each search must not walk over all earlier ones.
  std::unordered_set<std::string> syntheticLabels;
  std::unordered_map<std::string, int64_t> nextFreshNumber;

  // Line starts of the final merged source, kept once the compilation is over.
  std::optional<TLineIndex> lineIndex;

  // --- Outcome ---
  std::optional<TCompileError> error;
  std::string statusText;
  std::string memoryDump;  // cp1252; empty unless asked for and the image is short enough

  bool Pyxon() const { return IsPyxon(profile); }
  // The character at a position, 0 outside the source.
  char At(int32_t p) const {
    return p >= 1 && static_cast<size_t>(p) <= source.size() ? source[static_cast<size_t>(p) - 1] : '\0';
  }
  char Current() const { return At(position); }
  bool AtEnd() const { return static_cast<size_t>(position) > source.size(); }
  // Scope of declarations and look-ups: the current procedure on Pyxon, else global.
  int32_t Scope() const { return Pyxon() ? currentProcedure : -1; }
};

}  // namespace zarvek
