#include "cli/tessel_run_command.h"

#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "simulation/line_table.h"
#include "simulation/tessel_runner.h"
#include "simulation/tessel_runtime.h"

namespace zarvek::cli {

namespace {

TTesselProgram ProgramOf(const TTesselRunSource& source) {
  TTesselProgram program;
  program.image = source.image;
  if (!source.build) return program;
  const TBuildResult& built = source.build->Result();
  program.eepromSize = built.program.eepromSize;
  program.lines = BuildLineTable(source.build->Builder().Compiler(), built.program);
  program.machineCode = built.machineCode.code;
  program.codeStart = built.machineCode.startAddress;
  program.asmLineMap = built.machineCode.lineMap;
  return program;
}

void ReportError(const TTesselRunSource& source, const TTesselRunResult& result, std::ostream& err) {
  const TRuntimeReport& error = *result.error;
  if (!source.build || error.statement.sourcePosition == 0) {
    err << "Laufzeitfehler bei Adresse " << error.address << ": " << error.text;
  } else {
    const TSourceLocation at =
        source.build->Builder().Compiler().Locate(static_cast<int32_t>(error.statement.sourcePosition));
    const TPlace place = source.build->PlaceOf(at.mapped, at.line, at.column);
    err << (place.file.empty() ? source.path : place.file) << ":" << place.line << ":" << place.column
        << ": Laufzeitfehler: " << error.text;
  }
  if (result.controllerError) err << " " << result.registerLine;
  err << "\n";
}

}  // namespace

int RunOnTesselBoard(const TTesselRunSource& source, const TProgramRunOptions& options, std::ostream& out,
                     std::ostream& err) {
  std::string why;
  const auto runtime = TesselRuntimeFor(source.board, &why);
  if (!runtime) {
    err << source.path << ": " << why << "\n";
    return kExitDiagnosed;
  }
  TTesselRunOptions run;
  run.input = options.input;
  run.maxTokens = options.maxTokens;
  run.timeoutSeconds = options.timeoutSeconds;
  run.realtime = options.realtime;
  run.points = runtime->points;
  const bool flushEach = options.realtime;
  run.output = [&out, flushEach](const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (flushEach) out.flush();
  };
  // A run whose output can no longer be written stops; the command fails anyway.
  run.everyTick = [&out](TTesselLoop& loop, TSimulatedHardware&) {
    if (!out) loop.Stop();
  };
  const TTesselRunResult result = RunTesselProgram(runtime->image, ProgramOf(source), run);
  out.flush();
  if (!result.loadError.empty()) {
    err << source.path << ": " << result.loadError << "\n";
    return kExitDiagnosed;
  }
  if (!result.error) return kExitOk;
  ReportError(source, result, err);
  return kExitDiagnosed;
}

}  // namespace zarvek::cli
