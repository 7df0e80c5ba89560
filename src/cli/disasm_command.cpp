// Disassembles HC05 machine code, from an S-record file or raw bytes, to assembler text.
#include "cli/disasm_command.h"

#include <cstdint>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "project/file_io.h"
#include "hc05/disassembler.h"
#include "hc05/srecord.h"

namespace zarvek::cli {

namespace {

constexpr uint16_t kRawStart = 0x0101;  // where the user's machine code begins on a Tessel

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli disasm: " << problem << "\n"
      << "Aufruf: zarvek-cli disasm [--start ADRESSE] DATEI\n";
  return kExitUsage;
}

// Decimal, or hexadecimal after "$" or "0x"; 0...65535.
std::optional<uint16_t> ParseAddress(const std::string& text) {
  int base = 10;
  std::string digits = text;
  if (digits.starts_with("$")) {
    base = 16;
    digits.erase(0, 1);
  } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.erase(0, 2);
  }
  const char* allowed = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.size() > 5 || digits.find_first_not_of(allowed) != std::string::npos)
    return std::nullopt;
  const unsigned long value = std::stoul(digits, nullptr, base);
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(value);
}

bool IsSRecordFile(const std::string& path) { return UpperExtension(path) == ".S19"; }

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out << line << "\n";
}

}  // namespace

int DisasmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<uint16_t> start;
  std::string path;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--start") {
      if (i + 1 >= args.size()) return Usage(err, "der Option --start fehlt ihr Wert");
      start = ParseAddress(args[++i]);
      if (!start) return Usage(err, "ungültige Adresse \"" + args[i] + "\"");
    } else if (args[i].starts_with("--")) {
      return Usage(err, "unbekannte Option " + args[i]);
    } else if (path.empty()) {
      path = args[i];
    } else {
      return Usage(err, "nur eine Datei erwartet");
    }
  }
  if (path.empty()) return Usage(err, "keine Datei angegeben");
  const bool sRecords = IsSRecordFile(path);
  if (sRecords && start) return Usage(err, "--start gilt nur für Rohdaten, S-Records tragen ihre Adressen");
  const auto content = ReadBinaryFile(path);
  if (!content) {
    err << path << ": Datei kann nicht gelesen werden\n";
    return kExitDiagnosed;
  }
  if (!sRecords) {
    PrintLines(out, hc05::Disassemble(*content, start.value_or(kRawStart)));
    return kExitOk;
  }
  const hc05::TSRecordBlock block = hc05::ParseSRecords(*content);
  if (!block.error.empty()) {
    err << path << ": " << block.error << "\n";
    return kExitDiagnosed;
  }
  PrintLines(out, hc05::Disassemble(block.bytes, block.start));
  return kExitOk;
}

}  // namespace zarvek::cli
