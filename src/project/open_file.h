// The open command's choice by extension: project files, or plain source texts for one
// of the two editors.
#pragma once

#include <string>

#include "project/project.h"
#include "project/project_file.h"

namespace zarvek {

enum class TFileKind { Project, AssemblerText, BasicText, Other };

// ".XML" and ".BAK" are projects, ".ASM" and ".BAS" source texts, in any case.
TFileKind KindOfFile(const std::string& fileName);

// Opens a file by its kind: a project through LoadProject (interactively), a source text
// into its part of the project, leaving the rest as it is. Any other file is no project.
TLoadOutcome OpenFile(const std::string& fileName, TProject& project);

}  // namespace zarvek
