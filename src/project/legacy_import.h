// The older binary project format (".CPO"), read by the Import command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"
#include "project/project_file.h"

namespace zarvek {

// Reads a legacy project into `project`, which the caller has started anew (the profile
// stays unless the file names one). False, with the project untouched, for anything that
// is not a complete legacy project up to the end of its two texts; the optional tail
// (profile, breakpoints) is read as far as the file goes.
bool ReadLegacyProject(std::string_view bytes, TProject& project, std::vector<TObjectNode>& nodes);

// The Import command's reading of a ".CPO" file: result 0, 1 (not a legacy project) or 2
// (the file could not be read), with the texts to show.
TLoadOutcome ImportLegacyProject(const std::string& fileName, TProject& project);

}  // namespace zarvek
