#include "simulation/start_plan.h"

#include "simulation/line_table.h"
#include "simulation/simulator.h"
#include "simulation/run_control.h"

namespace zarvek {

TMachineConfig PyxonMachine(TProfile profile) {
  return profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
}

std::unique_ptr<TSimulator> CreatePyxonMachine(const TPyxonStart& start, TMachineConfig config,
                                               TSimulatedHardware& hardware, TSimulatorListener& listener) {
  auto machine = std::make_unique<TSimulator>(std::move(config), hardware, listener);
  machine->SetLineTable(start.lineTable);
  machine->LoadProgram(start.image, start.codeLength, start.tableLength);
  return machine;
}

std::vector<uint16_t> AssemblerBreakpointPositions(const std::vector<hc05::TAsmLineMapEntry>& lineMap,
                                                   const std::set<int32_t>& lines) {
  std::vector<uint16_t> positions;
  for (int32_t line : lines) {
    const hc05::TAsmLineMapEntry* best = nullptr;
    for (const hc05::TAsmLineMapEntry& e : lineMap)
      if (e.line >= line && (!best || e.line < best->line || (e.line == best->line && e.position < best->position)))
        best = &e;
    if (best) positions.push_back(static_cast<uint16_t>(best->position));
  }
  return positions;
}

TStartPlan PrepareStart(TBuilder& builder, const TStartInput& input) {
  TStartPlan plan;
  if (!TRunControl::Simulatable(input.profile)) {
    plan.message = kNotSimulatableText;
    return plan;
  }
  TBuildInput in;
  in.basicSource = input.basicSource;
  in.assemblerSource = input.assemblerSource;
  in.profile = input.profile;
  in.projectFileName = input.projectFileName;
  in.modules = input.modules;
  in.warnings = input.warnings;
  in.memoryDump = input.memoryDump;
  plan.build = builder.Build(in);
  if (!plan.build.success) {
    if (plan.build.basicError) plan.message = plan.build.basicError->message.str();
    else if (plan.build.assemblerError) plan.message = plan.build.assemblerError->message;
    return plan;
  }
  const TBuildResult& b = plan.build;
  TBreakpointPlaces breakpoints;
  for (int32_t line : input.basicBreakpoints)
    if (line >= 1) breakpoints.insert({kMainSourceOrigin, static_cast<uint32_t>(line)});
  // The assembler counts lines from 0, the editors from 1; the main text comes first in
  // the merged assembler text.
  std::set<int32_t> assemblerLines;
  auto addAssemblerLines = [&](int32_t module, const std::vector<int32_t>& lines) {
    for (int32_t line : lines)
      if (const auto at = AssembledLine(b.program.includes, {module, line - 1})) assemblerLines.insert(*at);
  };
  addAssemblerLines(-1, input.assemblerBreakpoints);
  for (size_t k = 0; k < b.program.includes.size(); ++k) {
    const std::string& file = b.program.includes[k].fileName;
    if (input.moduleBasicBreakpoints)
      for (int32_t line : input.moduleBasicBreakpoints(file))
        if (line >= 1) breakpoints.insert({static_cast<uint32_t>(k), static_cast<uint32_t>(line)});
    if (input.moduleAssemblerBreakpoints) addAssemblerLines(static_cast<int32_t>(k), input.moduleAssemblerBreakpoints(file));
  }
  plan.symbols = TProgramSymbols(b.program.symbols, builder.Assembler().Symbols(), !IsPyxon(input.profile));
  if (IsPyxon(input.profile)) {
    TPyxonStart p;
    p.machine = PyxonMachine(input.profile);
    p.lineTable = BuildLineTable(builder.Compiler(), b.program, breakpoints);
    p.image = b.program.image;
    p.codeLength = b.program.codeLength;
    p.tableLength = b.program.tableLength;
    plan.pyxon = std::move(p);
  } else {
    TTesselStart t;
    t.eepromImage = b.program.image;
    t.machineCode = b.machineCode.code;
    t.machineCodeStart = b.machineCode.startAddress;
    t.assemblerLineMap = b.machineCode.lineMap;
    t.assemblerBreakpoints = AssemblerBreakpointPositions(b.machineCode.lineMap, assemblerLines);
    t.assemblerBreakpointLines = std::move(assemblerLines);
    t.statementMap = b.program.statementMap;
    t.lineTable = BuildLineTable(builder.Compiler(), b.program, breakpoints);
    plan.tessel = std::move(t);
  }
  plan.ready = true;
  return plan;
}

}  // namespace zarvek
