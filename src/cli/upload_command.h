// zarvek-cli upload: builds a program as compile does and sends it to a board.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarvek::cli {

int UploadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zarvek::cli
