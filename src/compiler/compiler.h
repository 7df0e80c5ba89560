// TCompiler: compiles a BASIC text to a program image of token code. One context,
// reset at the start of every compilation; nothing here touches a window: the result
// carries what the IDE and the command-line tool show.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/profile.h"
#include "base/symbols.h"
#include "compiler/module_loader.h"
#include "text/typed_text.h"

namespace zarvek {

// A label of the assembler part, visible to BASIC by name.
struct TAsmLabel {
  std::string name;
  int64_t address = 0;
};

struct TStatementMapRecord {
  uint32_t codeOffset = 0;      // the statement's first token, as an image offset
  uint32_t sourcePosition = 0;  // in the merged source, 1-based
  int32_t moduleIndex = -1;     // -1: the project's own text
};

struct TFixup {
  std::string text;           // name, "name|scope", "<n", "^name" or "*PROGLEN*..."
  uint32_t slot = 0;          // 1-based position of the 2-byte hole in the code
  int32_t sourcePosition = 0;
  int32_t argumentCount = 0;  // for calls
};

struct TIncludeRecord {
  std::string moduleName;
  std::string fileName;
  std::string parentFileName;
  int32_t parentIndex = -1;
  int32_t start = 0;   // the module text occupies start + 1 ... start + length
  int32_t length = 0;
  int32_t assemblerFirstLine = 0;
  int32_t assemblerLineCount = 0;
  int32_t depth = 0;
};

// How messages name a module: its MODULE name, or "Modul " and its file name while it has
// none (cp1252).
std::string ModuleDisplayName(const TIncludeRecord& record);

// Where a merged-source position lies: in the project's own text or in a module.
struct TMappedPosition {
  int32_t position = 0;        // in the project's own text (the outermost $INCLUDE for modules)
  int32_t modulePosition = 0;  // within the module, when in one
  int32_t moduleIndex = -1;    // innermost module containing it, -1 for none
  std::string moduleName;
  std::string fileName;
};

// A merged-source position with its line and column (1-based) in the text it lies in:
// the module's own text inside a module, else the project's text.
struct TSourceLocation {
  TMappedPosition mapped;
  int32_t line = 1;
  int32_t column = 1;
  // The line in the project's own text: `line` there, the line of the outermost
  // $INCLUDE inside a module.
  int32_t projectLine = 1;
};

struct TCompileError {
  int code = 0;
  TUtf8Text message;          // module prefix included
  int32_t sourcePosition = 0;  // in the merged source
  TMappedPosition mapped;
  // Line and column (1-based) in the text the error lies in: the module's own text for
  // an error inside a module, else the project's text.
  int32_t line = 0;
  int32_t column = 0;
};

struct TWarning {
  int32_t sourcePosition = 0;
  std::string name;
  TCp1252Text text;  // name and what is wrong with it
  TMappedPosition mapped;
  int32_t line = 0;  // in the text the declaration lies in, as for errors
  int32_t column = 0;
};

struct TCompileInput {
  std::string source;  // the BASIC text, cp1252
  TProfile profile = profile::Tessel11;
  std::string projectFileName;
  std::vector<TAsmLabel> assemblerLabels;
  bool silent = false;  // the background syntax check
  std::function<void(int percent)> progress;
  // Set (from any thread) to give up: the compilation stops before its next statement and
  // reports itself cancelled. The IDE's background check cancels when the text changes.
  const std::atomic<bool>* cancel = nullptr;
  // Module files for $INCLUDE, named relative to the project file's folder (none: every
  // $INCLUDE reports its file as missing).
  const TModuleLoader* modules = nullptr;
  // The project's assembler text by lines; the modules' assembler texts are appended.
  std::vector<std::string> assemblerLines;
  // The assembler's label collector: the names an included module's assembler lines
  // define, so that BASIC sees them as it sees the project's own.
  std::function<std::vector<std::string>(const std::vector<std::string>& lines)> assemblerLabelNames;
  // The token view's dump of the variable memories (TCompileResult::memoryDump).
  bool memoryDump = false;
};

// The memory dump is left out for an image this long or longer.
inline constexpr size_t kMemoryDumpImageLimit = 6000;

struct TCompileResult {
  bool success = false;
  bool cancelled = false;  // given up on request: neither success nor an error to show
  std::string image;
  std::optional<TCompileError> error;
  TUtf8Text statusText;  // the status line: progress, or a notice such as a too small EEPROM
  std::vector<TStatementMapRecord> statementMap;
  std::vector<Tlabel> symbols;
  std::vector<TIncludeRecord> includes;
  // The assembler text to assemble: the project's lines, then each module's lines, as the
  // include records' assembler ranges give them.
  std::vector<std::string> assemblerLines;
  TCp1252Text moduleName;  // the project's own MODULE name
  std::vector<TFixup> fixups;
  uint16_t eepromSize = 8192;
  uint32_t clockKHz = 4000;
  uint8_t programMemorySelector = 0;
  // Lengths that place the program's EEPROM variables behind the image in program memory:
  // prologue + initialisation code + code, and the table area.
  uint32_t codeLength = 0;
  uint32_t tableLength = 0;
  uint32_t initCodeLength = 0;  // prologue and initialisation code
  // When asked for and the image is shorter than kMemoryDumpImageLimit (cp1252, lines
  // ended by CR LF): the global memory and, on Pyxon, the first 1000 bytes of every
  // memory map in decimal under its header. The maps do not outlive the compilation.
  std::string memoryDump;
};

struct TLinkResult {
  bool success = true;
  std::optional<TCompileError> error;
  TCp1252Text warningsText;  // " name text" CR LF per unused symbol
  std::vector<TWarning> warnings;
};

struct TCompilerContext;

class TCompiler {
 public:
  TCompiler();
  ~TCompiler();
  TCompiler(const TCompiler&) = delete;
  TCompiler& operator=(const TCompiler&) = delete;

  TCompileResult CompileProgram(const TCompileInput& input);
  // After the assembler: patches references to assembler labels into the image and
  // lists the unused symbols (when warnings are enabled).
  TLinkResult LinkAndWarn(std::string& image, const std::vector<TAsmLabel>& assemblerLabels,
                          bool warningsEnabled);
  // Where a position of the last compilation's merged source lies (for the statement
  // map, the line table and runtime error reports).
  TSourceLocation Locate(int32_t position) const;

 private:
  std::unique_ptr<TCompilerContext> m_context;
};

}  // namespace zarvek
