// What compile and export build from (a BASIC file, perhaps with an assembler file, or a
// project file with its modules) and how they report the build's diagnostics.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "pipeline/build.h"
#include "project/project_file.h"

namespace zarvek::cli {

struct TSourceFiles {
  std::string path;                // FILE.bas or PROJECT.xml
  std::string asmPath;             // an assembler file beside a BASIC file
  std::optional<uint8_t> profile;  // overrides a project's own
};

// Whether the file is a project file (.xml or .bak, any case).
bool IsProjectPath(const std::string& path);

// Reads the files into a build input whose modules come through `loader`; prints why not
// and gives false.
bool LoadSources(const TSourceFiles& files, const TModuleLoader& loader, TBuildInput& input, std::ostream& err);

// Loads the sources, runs the pipeline and prints its report (the first failure, or the
// warnings); false when the build did not succeed.
bool BuildAndReport(const TSourceFiles& files, std::ostream& err, TBuilder& builder, TBuildResult& result);

// Why a project file could not be opened.
void PrintOpenFailure(std::ostream& err, const std::string& path, const TLoadOutcome& outcome);

// FILE:LINE:COLUMN: Fehler CODE: MESSAGE (the module's file for an error inside a module).
void PrintCompileError(std::ostream& err, const std::string& path, const TCompileError& e);

// The first failure of a build, in the FILE:LINE:COLUMN form, or the warnings and the
// compiler's notice of a build that succeeded. Inside a module the module's file and its
// own line and column are named.
void PrintBuildReport(std::ostream& err, const TSourceFiles& files, const TBuildResult& result);

}  // namespace zarvek::cli
