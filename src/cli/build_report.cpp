#include "cli/build_report.h"

#include <ostream>

#include "cli/cli_args.h"
#include "pipeline/project_modules.h"
#include "project/file_io.h"
#include "project/open_file.h"
#include "text/cp1252.h"

namespace zarvek::cli {

namespace {

std::string FileOf(const std::string& path, const TMappedPosition& mapped) {
  return mapped.moduleIndex >= 0 ? mapped.fileName : path;
}

bool LoadProjectSources(const TSourceFiles& files, TBuildInput& input, std::ostream& err) {
  TProject project;
  const TLoadOutcome outcome = LoadProject(files.path, TLoadMode::Interactive, project);
  if (outcome.result != loadresult::Loaded) {
    PrintOpenFailure(err, files.path, outcome);
    return false;
  }
  input.basicSource = std::move(project.basicSource);
  input.assemblerSource = std::move(project.assemblerSource);
  input.profile = files.profile.value_or(project.profile);
  return true;
}

}  // namespace

void PrintOpenFailure(std::ostream& err, const std::string& path, const TLoadOutcome& outcome) {
  // The "not a project" text names the file itself.
  if (outcome.result == loadresult::ReadFailed) err << path << ": ";
  err << outcome.message << "\n";
}

bool IsProjectPath(const std::string& path) { return KindOfFile(path) == TFileKind::Project; }

bool LoadSources(const TSourceFiles& files, const TModuleLoader& loader, TBuildInput& input, std::ostream& err) {
  if (IsProjectPath(files.path)) {
    if (!LoadProjectSources(files, input, err)) return false;
  } else {
    for (const auto& [file, text] : {std::pair{files.path, &input.basicSource}, {files.asmPath, &input.assemblerSource}}) {
      if (file.empty()) continue;
      const auto content = ReadBinaryFile(file);
      if (!content) {
        err << file << ": Datei kann nicht gelesen werden\n";
        return false;
      }
      *text = *content;
    }
    input.profile = files.profile.value_or(profile::Tessel11);
  }
  input.projectFileName = files.path;
  input.modules = &loader;
  input.fileExists = [](const std::string& name) { return FileExists(name); };
  return true;
}

void PrintCompileError(std::ostream& err, const std::string& path, const TCompileError& e) {
  err << FileOf(path, e.mapped) << ":" << e.line << ":" << e.column << ": Fehler " << e.code << ": " << e.message << "\n";
}

void PrintBuildReport(std::ostream& err, const TSourceFiles& files, const TBuildResult& result) {
  if (result.basicError) return PrintCompileError(err, files.path, *result.basicError);
  if (result.assemblerError) {
    const hc05::TAsmError& e = *result.assemblerError;
    const TAsmLineOrigin origin = LocateAssemblerLine(result.program.includes, e.line);
    const std::string file = origin.moduleIndex >= 0 ? result.program.includes[static_cast<size_t>(origin.moduleIndex)].fileName
                             : files.asmPath.empty() ? files.path
                                                     : files.asmPath;
    err << file << ":" << origin.line + 1 << ":" << e.column << ": " << e.message << "\n";
    return;
  }
  for (const TWarning& w : result.link.warnings)
    err << FileOf(files.path, w.mapped) << ":" << w.line << ":" << w.column << ": Warnung: " << ToUtf8(w.text) << "\n";
  if (!result.program.statusText.empty()) err << files.path << ": Hinweis: " << result.program.statusText << "\n";
}

bool BuildAndReport(const TSourceFiles& files, std::ostream& err, TBuilder& builder, TBuildResult& result) {
  const TProjectFileLoader loader;
  TBuildInput input;
  if (!LoadSources(files, loader, input, err)) return false;
  result = builder.Build(input);
  PrintBuildReport(err, files, result);
  return result.success;
}

}  // namespace zarvek::cli
