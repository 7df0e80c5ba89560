// Runs a BASIC program, a project or a program image without a window, on the token
// machine (Pyxon profiles) or on the emulated board (Tessel 1.1 and Micro): the program's
// serial output goes to stdout byte for byte, a runtime error to stderr.
#include "cli/run_command.h"

#include <memory>
#include <optional>
#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/tessel_run_command.h"
#include "project/file_io.h"
#include "project/open_file.h"
#include "project/project.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"
#include "simulation/tessel_board.h"

namespace zarvek::cli {

namespace {

struct TRunRequest {
  TProgramRunOptions run;
  std::optional<TProfile> profile;
  bool image = false;  // --image: the file is a program image whatever its name
  std::string asmPath;  // an assembler part beside a BASIC file
  std::string path;
};

// What the machine runs, and for a built program how to name a runtime error's place.
struct TLoadedProgram {
  std::string image;
  std::vector<TLineRecord> lines;
  uint32_t codeLength = 0;
  uint32_t tableLength = 0;
  TProfile profile = profile::Pyxon32;
  std::unique_ptr<TSourceBuild> build;  // none for a program image
};

std::optional<std::string> RunProfile(const std::string& value, std::optional<TProfile>& profile) {
  const auto code = FindProfileFileValue(value);
  if (!code) return "unbekanntes Profil \"" + value + "\"";
  profile = *code;
  return std::nullopt;
}

TCommandSyntax RunSyntax(TRunRequest& r) {
  TProgramRunOptions& o = r.run;
  return {"run",
          "[--profile atmega-32|atmega-128|tessel-1.1|tessel-micro] [--asm DATEI.asm] [--input TEXT] "
          "[--max-tokens N] [--timeout SEKUNDEN] [--realtime] [--image] PROGRAMM.bas|PROJEKT.xml|PROGRAMM.bin",
          "Programmdatei",
          {{"--profile", true, [&r](const std::string& v) { return RunProfile(v, r.profile); }},
           TextOption("--asm", r.asmPath),
           {"--input", true,
            [&o](const std::string& v) -> std::optional<std::string> {
              const auto decoded = DecodeEscapes(v);
              if (!decoded) return "ungültige Escape-Folge in --input (erlaubt: \\r \\n \\t \\\\ \\xHH)";
              o.input += *decoded;
              return std::nullopt;
            }},
           {"--max-tokens", true,
            [&o](const std::string& v) -> std::optional<std::string> {
              if (!(o.maxTokens = ParseCount(v))) return "--max-tokens erwartet eine ganze Zahl";
              return std::nullopt;
            }},
           {"--timeout", true,
            [&o](const std::string& v) -> std::optional<std::string> {
              if (!(o.timeoutSeconds = ParseSeconds(v))) return "--timeout erwartet Sekunden (eine Zahl ab 0)";
              return std::nullopt;
            }},
           FlagOption("--realtime", o.realtime),
           FlagOption("--image", r.image)}};
}

// Only files named so are program images; any other name would otherwise run a text's
// bytes as token code.
bool IsImagePath(const std::string& path) { return UpperExtension(path) == ".BIN"; }

bool IsBuildablePath(const std::string& path) {
  const TFileKind kind = KindOfFile(path);
  return kind == TFileKind::BasicText || kind == TFileKind::Project;
}

// Builds a BASIC or project file as compile does; the exit status when it fails.
std::optional<int> BuildProgram(const TRunRequest& request, const TCommandSyntax& syntax, std::ostream& err,
                                TLoadedProgram& program) {
  TSourceFiles files;
  files.path = request.path;
  files.asmPath = request.asmPath;
  files.profile = request.profile;
  files.basicProfile = profile::Pyxon32;
  files.warnings = false;
  program.build = std::make_unique<TSourceBuild>(files);
  TSourceBuild& build = *program.build;
  if (!build.Load(err)) return kExitDiagnosed;
  if (!IsPyxon(build.Profile()))
    if (const auto refusal = TesselSimulationRefusal(build.Profile())) return UsageError(syntax, err, *refusal);
  if (!build.Build(err)) return kExitDiagnosed;
  const TBuildResult& built = build.Result();
  program.image = built.program.image;
  program.lines = BuildLineTable(build.Builder().Compiler(), built.program);
  program.codeLength = built.program.codeLength;
  program.tableLength = built.program.tableLength;
  program.profile = build.Profile();
  return std::nullopt;
}

std::optional<int> LoadImage(const TRunRequest& request, std::ostream& err, TLoadedProgram& program) {
  auto bytes = ReadInputFile(request.path, filelimit::kMachineCode, err);
  if (!bytes) return kExitDiagnosed;
  program.image = std::move(*bytes);
  // A raw image has no statement map: one statement at its start keeps the machine from
  // reporting that there is nothing to run.
  program.lines.push_back(TLineRecord{0, 1, 1, kMainSourceOrigin, 0});
  program.profile = request.profile.value_or(profile::Pyxon32);
  return std::nullopt;
}

bool FitsProgramMemory(const std::string& path, const TLoadedProgram& program, const TMachineConfig& machine,
                       std::ostream& err) {
  const uint64_t room = machine.programMemorySize - 4;
  if (program.image.size() <= room) return true;
  err << path << ": Das Programm ist zu groß für den Programmspeicher (" << program.image.size() << " Bytes, höchstens "
      << room << ").\n";
  return false;
}

// Where a statement lies as the user's editor counts it, inside a module in its own file.
TStatementLocator LocatorFor(const TLoadedProgram& program, const std::string& path) {
  if (!program.build) return {};
  const TSourceBuild* build = program.build.get();
  return [build, path](const TLinePosition& statement) -> std::optional<TStatementPlace> {
    const TSourceLocation at = build->Builder().Compiler().Locate(static_cast<int32_t>(statement.sourcePosition));
    const TPlace place = build->PlaceOf(at.mapped, at.line, at.column);
    return TStatementPlace{place.file.empty() ? path : place.file, static_cast<uint32_t>(place.line),
                           static_cast<uint32_t>(place.column)};
  };
}

// Runs the program with its output going to `out`; a run whose output can no longer be
// written stops, since the owner will fail the command anyway.
TProgramRunResult Execute(const TLoadedProgram& program, const std::string& path, TProgramRunOptions options,
                          std::ostream& out) {
  const bool flushEach = options.realtime;
  options.output = [&out, flushEach](const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (flushEach) out.flush();
  };
  options.everySlice = [&out](TInterpreter& machine, uint64_t) {
    if (!out) machine.Terminate();
  };
  options.locator = LocatorFor(program, path);
  const TProgramRunResult result = RunProgram(program.image, program.lines, program.codeLength, program.tableLength, options);
  out.flush();
  return result;
}

void ReportRuntimeError(const TRuntimeReport& error, std::ostream& err) {
  if (const auto& place = error.place) {
    err << place->file << ":" << place->line << ":" << place->column << ": Laufzeitfehler: " << error.text << "\n";
  } else {
    err << "Laufzeitfehler bei Adresse " << error.address << ": " << error.text << "\n";
  }
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TRunRequest request;
  const TCommandSyntax syntax = RunSyntax(request);
  if (const auto problem = ParseCommandLine(syntax, args, request.path)) return UsageError(syntax, err, *problem);
  const bool image = request.image || IsImagePath(request.path);
  if (!image && !IsBuildablePath(request.path))
    return UsageError(syntax, err,
                      "unbekannte Dateiart: " + request.path +
                          " (DATEI.bas, PROJEKT.xml oder ein Programmabbild PROGRAMM.bin; --image für andere Namen)");
  if (!request.asmPath.empty() && (image || KindOfFile(request.path) != TFileKind::BasicText))
    return UsageError(syntax, err, "--asm nur mit DATEI.bas (ein Projekt bringt seinen Assembler-Teil selbst mit)");
  if (image && request.profile && !IsPyxon(*request.profile))
    if (const auto refusal = TesselSimulationRefusal(*request.profile)) return UsageError(syntax, err, *refusal);

  TLoadedProgram program;
  if (const auto failed = image ? LoadImage(request, err, program) : BuildProgram(request, syntax, err, program))
    return *failed;
  if (!IsPyxon(program.profile)) {
    const TTesselRunSource source{program.profile, program.image, program.build.get(), request.path};
    return RunOnTesselBoard(source, request.run, out, err);
  }
  request.run.machine = program.profile == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
  if (!FitsProgramMemory(request.path, program, request.run.machine, err)) return kExitDiagnosed;

  const TProgramRunResult result = Execute(program, request.path, request.run, out);
  if (!result.error) return kExitOk;
  ReportRuntimeError(*result.error, err);
  return kExitDiagnosed;
}

}  // namespace zarvek::cli
