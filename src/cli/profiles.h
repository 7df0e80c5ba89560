// Profile names on the command line, as in project files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zarvek::cli {

// tessel-1.1, tessel-micro, tessel-2.0, atmega-32, atmega-128 -> profile code.
std::optional<uint8_t> ParseProfileName(const std::string& name);

}  // namespace zarvek::cli
