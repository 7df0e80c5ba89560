// Small helpers shared by the subcommands: option values, escapes, files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zarvek::cli {

// Decodes \r, \n, \t, \\ and \xHH; nothing for a malformed escape.
std::optional<std::string> DecodeEscapes(const std::string& text);
std::optional<uint64_t> ParseCount(const std::string& text);
std::optional<double> ParseSeconds(const std::string& text);
// The whole file as bytes; nothing when it cannot be read.
std::optional<std::string> ReadBinaryFile(const std::string& path);

}  // namespace zarvek::cli
