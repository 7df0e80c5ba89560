// The code pipeline every command shares (compile, run, transfer, export, the background
// check): compile the BASIC text with its modules, assemble the assembler text with the
// modules' parts appended and the BASIC names visible, link the two, list the warnings.
// The first failure stops it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/profile.h"
#include "compiler/compiler.h"
#include "hc05/assembler.h"

namespace zarvek {

struct TBuildInput {
  std::string basicSource;      // cp1252
  std::string assemblerSource;  // cp1252; lines end with CR LF, CR or LF
  TProfile profile = profile::Tessel11;
  std::string projectFileName;  // $INCLUDE names modules relative to its folder
  const TModuleLoader* modules = nullptr;
  bool warnings = true;
  bool silent = false;  // the background syntax check
  const std::atomic<bool>* cancel = nullptr;  // set to give up the compilation (program.cancelled)
  std::vector<int32_t> assemblerBreakpointLines;
  std::function<bool(const std::string&)> fileExists;  // for DEFINE
  bool memoryDump = false;  // the token view's dump (TBuildResult::memoryDump)
};

enum class TBuildStage : uint8_t { Compile, Assemble, Link, Done };

struct TBuildResult {
  bool success = false;
  TBuildStage stage = TBuildStage::Compile;  // where it stopped; Done on success
  TCompileResult program;                    // the token image and what the compiler reports
  hc05::TAssembly machineCode;               // the assembler part's code and start address
  TLinkResult link;                          // the warnings
  std::optional<TCompileError> basicError;   // from compiling or linking
  std::optional<hc05::TAsmError> assemblerError;
  // Asked for and the image shorter than kMemoryDumpImageLimit: the compiler's memory
  // dump, and once linking has run, a line with the image's bytes (cp1252).
  std::string memoryDump;
};

// The line the token view shows under the memory dump: CR LF, then the image's bytes in
// decimal separated by ", ".
std::string ImageBytesLine(const std::string& image);

// Owns the compiler and the assembler, whose state later steps read (the statement map,
// the symbol tables, the line map).
class TBuilder {
 public:
  TBuildResult Build(const TBuildInput& input);
  const TCompiler& Compiler() const { return m_compiler; }
  const hc05::TAssembler& Assembler() const { return m_assembler; }

 private:
  TCompiler m_compiler;
  hc05::TAssembler m_assembler;
};

// The line ranges the modules' assembler texts occupy in the assembled text, named as
// the modules' messages name them.
std::vector<hc05::TAsmModuleRange> AssemblerModuleRanges(const std::vector<TIncludeRecord>& includes);

// Where a line of the assembled text comes from: the project's own assembler text
// (module -1) or a module's, with the line index within that text.
struct TAsmLineOrigin {
  int32_t moduleIndex = -1;
  int32_t line = 0;
};
TAsmLineOrigin LocateAssemblerLine(const std::vector<TIncludeRecord>& includes, int32_t line);
// The other way: a line of the project's own assembler text (module -1) or of a module's
// in the assembled text; nothing for a line the text does not have.
std::optional<int32_t> AssembledLine(const std::vector<TIncludeRecord>& includes, TAsmLineOrigin origin);

}  // namespace zarvek
