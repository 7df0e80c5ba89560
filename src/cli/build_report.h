// What compile, export and run build from (a BASIC file, perhaps with an assembler file,
// or a project file with its modules) and how they report the build's diagnostics.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "base/profile.h"
#include "pipeline/build.h"
#include "pipeline/project_modules.h"
#include "project/project_file.h"
#include "text/text_position.h"

namespace zarvek::cli {

struct TSourceFiles {
  std::string path;                           // FILE.bas or PROJECT.xml
  std::string asmPath;                        // an assembler file beside a BASIC file
  std::optional<TProfile> profile;            // overrides a project's own
  TProfile basicProfile = profile::Tessel11;  // a BASIC file's without --profile
  bool warnings = true;
  bool memoryDump = false;  // the token view's dump of the variable memories
};

// Whether the file is a project file (.xml or .bak, any case).
bool IsProjectPath(const std::string& path);

// Where a diagnostic points: the file, and line and column as the user's editor counts them.
struct TPlace {
  std::string file;
  int32_t line = 1;
  int32_t column = 1;
};

// One build of the files on the command line: loading, the pipeline, and the places its
// diagnostics name. Text files in UTF-8 are converted to cp1252 on loading.
class TSourceBuild {
 public:
  explicit TSourceBuild(TSourceFiles files);

  // Reads the files (a project with its profile); prints why not and gives false.
  bool Load(std::ostream& err);
  // The profile the build is for, once loaded.
  TProfile Profile() const { return m_input.profile; }
  // Runs the pipeline and prints its report (the first failure, or the warnings and the
  // compiler's notice); false when the build did not succeed.
  bool Build(std::ostream& err);

  const TBuildResult& Result() const { return m_result; }
  const TBuilder& Builder() const { return m_builder; }

  // A compile-time position (error, warning, statement) as the editor shows it; inside a
  // module the module's file and its own line and column.
  TPlace PlaceOf(const TMappedPosition& mapped, int32_t line, int32_t column) const;
  // FILE:LINE:COLUMN: Fehler CODE: MESSAGE.
  void PrintCompileError(std::ostream& err, const TCompileError& e) const;

 private:
  bool LoadTextFile(const std::string& path, std::string& text, bool& fromUtf8, std::ostream& err) const;
  bool LoadProjectFile(std::ostream& err);
  void PrintReport(std::ostream& err) const;

  TSourceFiles m_files;
  TProjectFileLoader m_loader;
  TBuildInput m_input;
  TBuilder m_builder;
  TBuildResult m_result;
  // Positions of a BASIC file that was UTF-8, for columns in the file's own characters.
  std::unique_ptr<TTextPositionMap> m_utf8Positions;
};

// Why a project file could not be opened.
void PrintOpenFailure(std::ostream& err, const std::string& path, const TLoadOutcome& outcome);

}  // namespace zarvek::cli
