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

std::string HexAddress(uint32_t address) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string text = "$";
  for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(address >> shift) & 0xF];
  return text;
}

// Code must fit into the 64 KiB address space from its start; the disassembler would
// otherwise wrap round to $0000 without a word.
bool FitsAddressSpace(const std::string& path, size_t size, uint16_t start, std::ostream& err) {
  const uint32_t room = 0x10000u - start;
  if (size <= room) return true;
  err << path << ": Der Code reicht über $FFFF hinaus (" << size << " Bytes ab " << HexAddress(start) << ", höchstens "
      << room << " passen in den Adressraum).\n";
  return false;
}

}  // namespace

int DisasmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<uint16_t> start;
  std::string path;
  const TCommandSyntax syntax{"disasm",
                              "[--start ADRESSE] DATEI",
                              "Datei",
                              {{"--start", true, [&start](const std::string& value) -> std::optional<std::string> {
                                  start = ParseAddress(value);
                                  if (!start) return "ungültige Adresse \"" + value + "\"";
                                  return std::nullopt;
                                }}}};
  if (const auto problem = ParseCommandLine(syntax, args, path)) return UsageError(syntax, err, *problem);
  const bool sRecords = IsSRecordFile(path);
  if (sRecords && start) return UsageError(syntax, err, "--start gilt nur für Rohdaten, S-Records tragen ihre Adressen");
  const auto content = ReadInputFile(path, sRecords ? filelimit::kSRecordFile : filelimit::kMachineCode, err);
  if (!content) return kExitDiagnosed;
  if (!sRecords) {
    const uint16_t from = start.value_or(kRawStart);
    if (!FitsAddressSpace(path, content->size(), from, err)) return kExitDiagnosed;
    PrintLines(out, hc05::Disassemble(*content, from));
    return kExitOk;
  }
  const hc05::TSRecordBlock block = hc05::ParseSRecords(*content);
  if (!block.error.empty()) {
    err << path << ": " << block.error << "\n";
    return kExitDiagnosed;
  }
  if (!FitsAddressSpace(path, block.bytes.size(), block.start, err)) return kExitDiagnosed;
  PrintLines(out, hc05::Disassemble(block.bytes, block.start));
  return kExitOk;
}

}  // namespace zarvek::cli
