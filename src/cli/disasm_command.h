#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

// zarvek-cli disasm [--start ADDRESS] FILE: an .S19 file through the S-record reader, any
// other file as raw machine code from $0101 (or ADDRESS). Lines end with "\n".
int DisasmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
