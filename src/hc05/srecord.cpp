#include "hc05/srecord.h"

#include <optional>

#include "hc05/disassembler.h"

namespace zarvek::hc05 {

namespace {

constexpr std::string_view kNoS = "ERROR! S???";
constexpr std::string_view kEndAfterS = "ERROR! S-|";
constexpr std::string_view kHeaderHex = "ERROR! S1 HEX???";
constexpr std::string_view kAddress = "ERROR! ADDRESS???";
constexpr std::string_view kDataHex = "ERROR! DATA HEX???";
constexpr std::string_view kChecksum = "ERROR! CHECKSUM???";
// A file cut short would otherwise pass for a complete one.
constexpr std::string_view kNoEnd = "ERROR! S9???";

bool IsRecordMark(char c) { return c == 'S' || c == 's'; }

class TReader {
 public:
  explicit TReader(std::string_view text) : m_text(text) {}

  bool AtEnd() const { return m_pos >= m_text.size(); }
  char Next() { return AtEnd() ? '\0' : m_text[m_pos++]; }

  void SkipBlanks() {
    while (!AtEnd() && std::string_view(" \t\r\n").find(m_text[m_pos]) != std::string_view::npos) ++m_pos;
  }

  void SkipToNextRecord() {
    while (!AtEnd() && !IsRecordMark(m_text[m_pos])) ++m_pos;
  }

  // A number of the given count of upper-case hex digits; nothing at any other character.
  std::optional<unsigned> Hex(int digits) {
    unsigned value = 0;
    for (int i = 0; i < digits; ++i) {
      const char c = Next();
      if (c >= '0' && c <= '9') value = value * 16 + static_cast<unsigned>(c - '0');
      else if (c >= 'A' && c <= 'F') value = value * 16 + static_cast<unsigned>(c - 'A' + 10);
      else return std::nullopt;
    }
    return value;
  }

 private:
  std::string_view m_text;
  size_t m_pos = 0;
};

// Appends one S1 record (after its type digit) to the block; the error text, if any.
std::optional<std::string_view> ReadS1(TReader& reader, TSRecordBlock& block, bool first) {
  const auto count = reader.Hex(2);
  const auto address = count ? reader.Hex(4) : std::nullopt;
  if (!address) return kHeaderHex;
  if (first) block.start = static_cast<uint16_t>(*address);
  else if (*address != block.start + block.bytes.size()) return kAddress;
  for (unsigned i = 3; i < *count; ++i) {
    const auto value = reader.Hex(2);
    if (!value) return kDataHex;
    block.bytes.push_back(static_cast<char>(*value));
  }
  if (!reader.Hex(2)) return kChecksum;
  return std::nullopt;
}

TSRecordBlock Failed(std::string_view error) { return {"", 0, std::string(error)}; }

}  // namespace

TSRecordBlock ParseSRecords(std::string_view text) {
  TReader reader(text);
  TSRecordBlock block;
  bool first = true;
  for (;;) {
    reader.SkipBlanks();
    if (reader.AtEnd()) return Failed(kNoEnd);
    if (!IsRecordMark(reader.Next())) return Failed(kNoS);
    if (reader.AtEnd()) return Failed(kEndAfterS);
    const char type = reader.Next();
    if (type == '5' || type == '9') return block;
    if (type != '1') {
      reader.SkipToNextRecord();
      continue;
    }
    if (const auto error = ReadS1(reader, block, first)) return Failed(*error);
    first = false;
  }
}

std::string ReadSRecords(std::string_view text) {
  const TSRecordBlock block = ParseSRecords(text);
  if (!block.error.empty()) return block.error;
  return JoinEditorLines(Disassemble(block.bytes, block.start));
}

}  // namespace zarvek::hc05
