#include "cli/build_report.h"

#include <ostream>

#include "cli/cli_args.h"
#include "project/file_io.h"
#include "project/open_file.h"
#include "text/cp1252.h"

namespace zarvek::cli {

void PrintOpenFailure(std::ostream& err, const std::string& path, const TLoadOutcome& outcome) {
  // The "not a project" text names the file itself.
  if (outcome.result == loadresult::ReadFailed) err << path << ": ";
  err << outcome.message << "\n";
}

bool IsProjectPath(const std::string& path) { return KindOfFile(path) == TFileKind::Project; }

TSourceBuild::TSourceBuild(TSourceFiles files) : m_files(std::move(files)) {}

bool TSourceBuild::LoadTextFile(const std::string& path, std::string& text, bool& fromUtf8, std::ostream& err) const {
  auto decoded = ReadSourceFile(path, err);
  if (!decoded) return false;
  text = std::move(decoded->cp1252);
  fromUtf8 = decoded->fromUtf8;
  return true;
}

bool TSourceBuild::LoadProjectFile(std::ostream& err) {
  TProject project;
  const TLoadOutcome outcome = LoadProject(m_files.path, TLoadMode::Interactive, project);
  if (outcome.result != loadresult::Loaded) {
    PrintOpenFailure(err, m_files.path, outcome);
    return false;
  }
  m_input.basicSource = std::move(project.basicSource);
  m_input.assemblerSource = std::move(project.assemblerSource);
  m_input.profile = m_files.profile.value_or(project.profile);
  return true;
}

bool TSourceBuild::Load(std::ostream& err) {
  if (IsProjectPath(m_files.path)) {
    // Project files keep their own format (ISO-8859-1 XML).
    if (!LoadProjectFile(err)) return false;
  } else {
    bool basicUtf8 = false, asmUtf8 = false;
    if (!LoadTextFile(m_files.path, m_input.basicSource, basicUtf8, err)) return false;
    if (!m_files.asmPath.empty() && !LoadTextFile(m_files.asmPath, m_input.assemblerSource, asmUtf8, err)) return false;
    m_input.profile = m_files.profile.value_or(m_files.basicProfile);
    if (basicUtf8) m_utf8Positions = std::make_unique<TTextPositionMap>(m_input.basicSource);
  }
  m_input.projectFileName = m_files.path;
  m_input.modules = &m_loader;
  m_input.warnings = m_files.warnings;
  m_input.memoryDump = m_files.memoryDump;
  m_input.fileExists = [](const std::string& name) { return FileExists(name); };
  return true;
}

bool TSourceBuild::Build(std::ostream& err) {
  m_result = m_builder.Build(m_input);
  PrintReport(err);
  return m_result.success;
}

TPlace TSourceBuild::PlaceOf(const TMappedPosition& mapped, int32_t line, int32_t column) const {
  if (mapped.moduleIndex >= 0) return {mapped.fileName, line, column};
  if (!m_utf8Positions) return {m_files.path, line, column};
  const TEditorPosition p = m_utf8Positions->ToEditor(mapped.position);
  return {m_files.path, p.line, p.column};
}

void TSourceBuild::PrintCompileError(std::ostream& err, const TCompileError& e) const {
  const TPlace at = PlaceOf(e.mapped, e.line, e.column);
  err << at.file << ":" << at.line << ":" << at.column << ": Fehler " << e.code << ": " << e.message << "\n";
}

void TSourceBuild::PrintReport(std::ostream& err) const {
  if (m_result.basicError) return PrintCompileError(err, *m_result.basicError);
  if (m_result.assemblerError) {
    const hc05::TAsmError& e = *m_result.assemblerError;
    const TAsmLineOrigin origin = LocateAssemblerLine(m_result.program.includes, e.line);
    const std::string file = origin.moduleIndex >= 0 ? m_result.program.includes[static_cast<size_t>(origin.moduleIndex)].fileName
                             : m_files.asmPath.empty() ? m_files.path
                                                       : m_files.asmPath;
    err << file << ":" << origin.line + 1 << ":" << e.column << ": " << e.message << "\n";
    return;
  }
  for (const TWarning& w : m_result.link.warnings) {
    const TPlace at = PlaceOf(w.mapped, w.line, w.column);
    err << at.file << ":" << at.line << ":" << at.column << ": Warnung: " << ToUtf8(w.text) << "\n";
  }
  if (!m_result.program.statusText.empty()) err << m_files.path << ": Hinweis: " << m_result.program.statusText << "\n";
}

}  // namespace zarvek::cli
