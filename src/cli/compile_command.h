#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "compiler/compiler.h"

namespace zarvek::cli {

// FILE:LINE:COLUMN: Fehler CODE: MESSAGE (the module's file for an error inside a module).
void PrintCompileError(std::ostream& err, const std::string& path, const TCompileError& e);

// zarvek-cli compile [--profile NAME] [--dump] FILE.bas
int CompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
