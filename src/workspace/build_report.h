// What a build shows: the error strip's slots after the compile pipeline, and the tree's
// content from the build's results.
#pragma once

#include <cstdint>

#include "base/profile.h"
#include "pipeline/build.h"
#include "workspace/error_display.h"
#include "workspace/project_tree.h"

namespace zarvek::workspace {

// Who started the build: the compile command (and run, transfer, export) show every
// result; the open command compiles silently, so that a faulty project opens without an
// error jump and without the success text.
enum class TBuildSender { Command, Open };

// The strip while the pipeline runs.
void ShowCompiling(TErrorDisplay& display);

// The strip after the pipeline: the first error with its position (in the project's own
// text for BASIC errors, the line index for assembler errors), or the success text with
// the compiler's notice and, when warnings are switched on, the warnings.
void ShowBuildResult(const TBuildResult& result, TProfile profile, uint8_t options, TBuildSender sender,
                     TErrorDisplay& display);

// Whether the window jumps to the error (ShowCompileError / ShowAssemblerError).
bool JumpsToError(const TBuildResult& result, TBuildSender sender);

// The tree's sizes, labels and modules from a build (sizes only of the parts that built).
void TakeBuildIntoTree(const TBuildResult& result, const std::vector<hc05::TAsmSymbol>& assemblerSymbols,
                       TTreeContent& content);

}  // namespace zarvek::workspace
