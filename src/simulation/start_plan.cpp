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
  // The assembler counts lines from 0, the editors from 1.
  for (int32_t line : input.assemblerBreakpoints)
    if (line >= 1) in.assemblerBreakpointLines.push_back(line - 1);
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
  std::set<int32_t> moduleAssemblerLines;  // in the merged assembler text
  for (size_t k = 0; k < b.program.includes.size(); ++k) {
    const TIncludeRecord& module = b.program.includes[k];
    if (input.moduleBasicBreakpoints)
      for (int32_t line : input.moduleBasicBreakpoints(module.fileName))
        if (line >= 1) breakpoints.insert({static_cast<uint32_t>(k), static_cast<uint32_t>(line)});
    if (input.moduleAssemblerBreakpoints)
      for (int32_t line : input.moduleAssemblerBreakpoints(module.fileName))
        if (line >= 1 && line <= module.assemblerLineCount) moduleAssemblerLines.insert(module.assemblerFirstLine + line - 1);
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
    t.assemblerBreakpoints = b.machineCode.breakpointPositions;
    for (uint16_t p : AssemblerBreakpointPositions(b.machineCode.lineMap, moduleAssemblerLines))
      t.assemblerBreakpoints.push_back(p);
    t.statementMap = b.program.statementMap;
    t.lineTable = BuildLineTable(builder.Compiler(), b.program, breakpoints);
    plan.tessel = std::move(t);
  }
  plan.ready = true;
  return plan;
}

}  // namespace zarvek
