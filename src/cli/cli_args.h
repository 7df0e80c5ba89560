// What every subcommand shares: one table-driven option parser, option values, escapes,
// and reading the files named on the command line.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/source_text.h"

namespace zarvek::cli {

// One option of a subcommand. `apply` stores the value (empty for a flag) and gives an
// error text when the value is bad.
struct TOption {
  std::string_view name;  // "--profile", "-o"
  bool takesValue = false;
  std::function<std::optional<std::string>(const std::string& value)> apply;
};

// An option without a value that sets `flag`.
TOption FlagOption(std::string_view name, bool& flag);
// An option whose value is stored as it is (the last one given counts).
TOption TextOption(std::string_view name, std::string& value);

// A subcommand's syntax: its name, its usage line and what its one file argument is called
// ("Quelldatei", "Datei", ...), for the messages.
struct TCommandSyntax {
  std::string_view name;
  std::string_view usage;
  std::string_view fileWord;
  std::vector<TOption> options;
  bool takesNoFile = false;  // a command that works on a device, not a file
};

// Applies the options in the order given and finds the one file argument; "--" ends the
// options. An error text for bad usage.
std::optional<std::string> ParseCommandLine(const TCommandSyntax& syntax, const std::vector<std::string>& args,
                                            std::string& file);

// Prints "zarvek-cli NAME: PROBLEM" and the usage line; gives the usage exit status.
int UsageError(const TCommandSyntax& syntax, std::ostream& err, const std::string& problem);

// Decodes \r, \n, \t, \\ and \xHH; nothing for a malformed escape.
std::optional<std::string> DecodeEscapes(const std::string& text);
std::optional<uint64_t> ParseCount(const std::string& text);
std::optional<double> ParseSeconds(const std::string& text);

// The whole file as bytes, if it is a regular file of at most `limit` bytes; otherwise
// prints "FILE: reason" and gives nothing.
std::optional<std::string> ReadInputFile(const std::string& path, uint64_t limit, std::ostream& err);

// A BASIC or assembler text file as cp1252, converted when it is UTF-8; prints why not
// (with the line and column of a character cp1252 lacks).
std::optional<TSourceText> ReadSourceFile(const std::string& path, std::ostream& err);

// Refuses (with a message, false) an output file that is one of the inputs under another
// name, or whose backup copy would be.
bool RefuseOverwritingInput(const std::string& output, const std::vector<std::string>& inputs, bool makesBackup,
                            std::ostream& err);

}  // namespace zarvek::cli
