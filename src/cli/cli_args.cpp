#include "cli/cli_args.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "cli/cli.h"
#include "project/file_io.h"

namespace zarvek::cli {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> DecodeEscapes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case 'r': out.push_back('\r'); break;
      case 'n': out.push_back('\n'); break;
      case 't': out.push_back('\t'); break;
      case '\\': out.push_back('\\'); break;
      case 'x': {
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) return std::nullopt;
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

std::optional<uint64_t> ParseCount(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return value;
}

std::optional<double> ParseSeconds(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value) || value < 0) return std::nullopt;
  return value;
}

std::optional<std::string> ReadInputFile(const std::string& path, uint64_t limit, std::ostream& err) {
  TFileContent file = ReadFileBytes(path, limit);
  switch (file.status) {
    case TReadStatus::Ok: return std::move(file.bytes);
    case TReadStatus::Missing:
    case TReadStatus::Failed: err << path << ": Datei kann nicht gelesen werden\n"; break;
    case TReadStatus::NotAFile:
    case TReadStatus::TooLarge: err << path << ": " << ReadFailureText(file.status, limit) << "\n"; break;
  }
  return std::nullopt;
}

std::optional<TSourceText> ReadSourceFile(const std::string& path, std::ostream& err) {
  const auto content = ReadInputFile(path, filelimit::kSourceText, err);
  if (!content) return std::nullopt;
  TSourceText source = DecodeSourceFile(*content);
  if (const auto& bad = source.unmappable) {
    err << path << ":" << bad->line << ":" << bad->column << ": Fehler: Das Zeichen \"" << bad->utf8 << "\" ("
        << CodePointName(bad->codePoint) << ") gibt es im Zeichensatz der Quelltexte (Windows-1252) nicht.\n";
    return std::nullopt;
  }
  return source;
}

bool RefuseOverwritingInput(const std::string& output, const std::vector<std::string>& inputs, bool makesBackup,
                            std::ostream& err) {
  const std::string backup = ReplaceExtension(output, ".BAK");
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    if (IsSameFile(output, input)) {
      err << output << ": Die Ausgabedatei ist die Eingabedatei " << input << "; nichts geschrieben.\n";
      return false;
    }
    if (makesBackup && IsSameFile(backup, input)) {
      err << output << ": Die Sicherungskopie " << backup << " wäre die Eingabedatei " << input
          << "; nichts geschrieben.\n";
      return false;
    }
  }
  return true;
}

std::optional<std::string> ParseCommandLine(const TCommandSyntax& syntax, const std::vector<std::string>& args,
                                            std::string& file) {
  bool optionsEnded = false;
  bool fileGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      const auto option = std::find_if(syntax.options.begin(), syntax.options.end(),
                                       [&arg](const TOption& o) { return o.name == arg; });
      if (option == syntax.options.end()) return "unbekannte Option " + arg;
      std::string value;
      if (option->takesValue) {
        if (i + 1 >= args.size()) return "der Option " + arg + " fehlt ihr Wert";
        value = args[++i];
      }
      if (auto problem = option->apply(value)) return problem;
      continue;
    }
    if (syntax.takesNoFile) return "unerwartetes Argument " + arg;
    if (fileGiven) return "nur eine " + std::string(syntax.fileWord) + " erwartet";
    file = arg;
    fileGiven = true;
  }
  if (!syntax.takesNoFile && (!fileGiven || file.empty())) return "keine " + std::string(syntax.fileWord) + " angegeben";
  return std::nullopt;
}

TOption FlagOption(std::string_view name, bool& flag) {
  return {name, false, [&flag](const std::string&) -> std::optional<std::string> {
            flag = true;
            return std::nullopt;
          }};
}

TOption TextOption(std::string_view name, std::string& value) {
  return {name, true, [&value](const std::string& v) -> std::optional<std::string> {
            value = v;
            return std::nullopt;
          }};
}

int UsageError(const TCommandSyntax& syntax, std::ostream& err, const std::string& problem) {
  err << "zarvek-cli " << syntax.name << ": " << problem << "\n"
      << "Aufruf: zarvek-cli " << syntax.name << " " << syntax.usage << "\n";
  return kExitUsage;
}

}  // namespace zarvek::cli
