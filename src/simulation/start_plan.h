// What starting a simulation needs, prepared without a window: the project is built
// through the pipeline, then either a token machine (Pyxon) or the emulated controller
// (Tessel) is described for the owner to create, load and reset.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/profile.h"
#include "pipeline/build.h"
#include "runtime/interpreter.h"
#include "simulation/program_symbols.h"

namespace zarvek {

struct TStartInput {
  std::string basicSource;
  std::string assemblerSource;
  TProfile profile = profile::Tessel11;
  std::string projectFileName;
  const TModuleLoader* modules = nullptr;
  bool warnings = true;
  std::vector<int32_t> basicBreakpoints;      // editor lines
  std::vector<int32_t> assemblerBreakpoints;  // editor lines
  bool memoryDump = false;  // the token view's dump (TBuildResult::memoryDump)
  // The breakpoints set in the tabs of included modules, asked for by the module's file
  // name: BASIC and assembler editor lines of that file.
  std::function<std::vector<int32_t>(const std::string& moduleFile)> moduleBasicBreakpoints;
  std::function<std::vector<int32_t>(const std::string& moduleFile)> moduleAssemblerBreakpoints;
};

// Where the breakpoints of an assembler text lie in the code: the code position of each
// line (0-based, in the merged assembler text) or, for a line without code, of the next
// line that has code.
std::vector<uint16_t> AssemblerBreakpointPositions(const std::vector<hc05::TAsmLineMapEntry>& lineMap,
                                                   const std::set<int32_t>& lines);

// The token machine of a Pyxon run: create it with `machine`, then SetLineTable and
// LoadProgram(image, codeLength, tableLength).
struct TPyxonStart {
  TMachineConfig machine;
  std::vector<TLineRecord> lineTable;
  std::string image;
  uint32_t codeLength = 0;
  uint32_t tableLength = 0;
};

// The emulated controller of a Tessel run: the program image goes into the serial
// EEPROM, the machine code to its start address, then the controller is reset at
// clockKHz.
struct TTesselStart {
  std::string eepromImage;
  std::string machineCode;
  uint32_t machineCodeStart = 257;
  std::vector<hc05::TAsmLineMapEntry> assemblerLineMap;
  std::vector<uint16_t> assemblerBreakpoints;  // code positions
  std::set<int32_t> assemblerBreakpointLines;  // the same, as lines of the merged assembler text
  std::vector<TStatementMapRecord> statementMap;
  // The statements with their editor lines and breakpoint flags, as for the token machine.
  std::vector<TLineRecord> lineTable;
  uint32_t clockKHz = 4000;
  bool reset = true;
};

struct TStartPlan {
  bool ready = false;
  std::string message;  // why the start ended (refusal or the first build error), UTF-8
  TBuildResult build;   // the errors with their positions for the error strip
  std::optional<TPyxonStart> pyxon;
  std::optional<TTesselStart> tessel;
  TProgramSymbols symbols;  // for the object bindings and the variable view
};

// The machine sizes of a Pyxon profile.
TMachineConfig PyxonMachine(TProfile profile);

class TSimulator;
class TSimulatorListener;
struct TSimulatedHardware;

// Creates the token machine of a Pyxon start and loads program and line table into it;
// the owner then sets its run mode. config: the machine sizes of the plan, with the
// owner's thread and time choices.
std::unique_ptr<TSimulator> CreatePyxonMachine(const TPyxonStart& start, TMachineConfig config,
                                               TSimulatedHardware& hardware, TSimulatorListener& listener);

// Builds the project and describes the machine; the builder keeps the compiler state the
// line table and later look-ups read.
TStartPlan PrepareStart(TBuilder& builder, const TStartInput& input);

}  // namespace zarvek
