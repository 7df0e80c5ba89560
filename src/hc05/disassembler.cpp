#include "hc05/disassembler.h"

#include <optional>

#include "hc05/opcodes.h"

namespace zarvek::hc05 {

namespace {

constexpr size_t kMnemonicColumn = 16;  // label field and indentation before the mnemonic
constexpr size_t kCommentColumn = 40;
constexpr std::string_view kDataComment = "  ---- unknown / data";

std::string Hex(unsigned value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return text;
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// One line of the listing: an instruction, or a byte that is printed as data. A byte of an
// instruction cut off by the end of the block is a data line of its own, so that every
// line reassembles (DB takes one value).
enum class TKind : uint8_t { Instruction, Unknown, CutOff };
struct TItem {
  size_t offset;
  size_t length;
  TKind kind;
};

std::vector<TItem> Walk(std::string_view bytes) {
  std::vector<TItem> items;
  for (size_t i = 0; i < bytes.size();) {
    const TOpcode& op = Opcode(static_cast<uint8_t>(bytes[i]));
    if (op.Defined() && op.length <= bytes.size() - i) {
      items.push_back({i, op.length, TKind::Instruction});
      i += op.length;
    } else if (op.Defined()) {
      for (; i < bytes.size(); ++i) items.push_back({i, 1, TKind::CutOff});
    } else {
      items.push_back({i, 1, TKind::Unknown});
      ++i;
    }
  }
  return items;
}

class TListing {
 public:
  TListing(std::string_view bytes, uint16_t start) : m_bytes(bytes), m_start(start), m_items(Walk(bytes)) {
    m_lineStart.assign(bytes.size(), false);
    m_referenced.assign(bytes.size(), false);
    for (const TItem& item : m_items) m_lineStart[item.offset] = true;
    for (const TItem& item : m_items) MarkTarget(item);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines{std::string(kMnemonicColumn, ' ') + "ORG   " + Hex(m_start, 4) + "h"};
    for (const TItem& item : m_items) {
      if (item.kind == TKind::Instruction) AppendInstruction(lines, item);
      else AppendData(lines, item);
    }
    return lines;
  }

 private:
  uint8_t At(size_t offset) const { return offset < m_bytes.size() ? static_cast<uint8_t>(m_bytes[offset]) : 0; }
  uint16_t Address(size_t offset) const { return static_cast<uint16_t>(m_start + offset); }

  // The line that begins at this address, if the block has one.
  std::optional<size_t> LineAt(uint16_t address) const {
    const size_t offset = static_cast<uint16_t>(address - m_start);
    if (offset < m_bytes.size() && m_lineStart[offset]) return offset;
    return std::nullopt;
  }

  // The address an instruction jumps or branches to; JMP and JSR only in their absolute forms.
  std::optional<uint16_t> Target(const TOpcode& op, size_t offset) const {
    const uint16_t next = Address(offset + op.length);
    switch (op.mode) {
      case TMode::Relative: return static_cast<uint16_t>(next + static_cast<int8_t>(At(offset + 1)));
      case TMode::BitTestBranch: return static_cast<uint16_t>(next + static_cast<int8_t>(At(offset + 2)));
      case TMode::Direct:
      case TMode::Extended:
        if (op.mnemonic != "JMP" && op.mnemonic != "JSR") return std::nullopt;
        return op.mode == TMode::Direct ? At(offset + 1) : static_cast<uint16_t>(At(offset + 1) << 8 | At(offset + 2));
      default: return std::nullopt;
    }
  }

  void MarkTarget(const TItem& item) {
    if (item.kind != TKind::Instruction) return;
    const auto target = Target(Opcode(At(item.offset)), item.offset);
    if (!target) return;
    if (const auto line = LineAt(*target)) m_referenced[*line] = true;
  }

  // A target inside the block that begins a line is named by its label; any other (outside,
  // or in the middle of an instruction) stays a number, so the text reassembles.
  std::string TargetText(uint16_t target) const {
    return LineAt(target) ? "L" + Hex(target, 4) : Hex(target, 4) + "h";
  }

  std::string Operand(const TOpcode& op, size_t offset) const {
    const uint8_t low = At(offset + 1);
    const unsigned word = static_cast<unsigned>(low << 8 | At(offset + 2));
    const auto target = Target(op, offset);
    switch (op.mode) {
      case TMode::Inherent: return "";
      case TMode::Immediate: return "#" + Hex(low, 2) + "h";
      case TMode::Direct: return target ? TargetText(*target) : Hex(low, 2) + "h";
      case TMode::Extended: return target ? TargetText(*target) : Hex(word, 4) + "h";
      case TMode::Indexed2: return Hex(word, 4) + "h, X";
      case TMode::Indexed1: return Hex(low, 2) + "h, X";
      case TMode::Indexed: return ",X";
      case TMode::Relative: return TargetText(*target);
      case TMode::BitSetClear: return Hex(low, 2) + "h";
      case TMode::BitTestBranch: return Hex(low, 2) + "h, " + TargetText(*target);
    }
    return "";
  }

  void AppendInstruction(std::vector<std::string>& lines, const TItem& item) const {
    const uint8_t code = At(item.offset);
    const TOpcode& op = Opcode(code);
    std::string mnemonic = Padded(std::string(op.mnemonic), 6);
    if (op.bit >= 0) mnemonic += std::string(1, static_cast<char>('0' + op.bit)) + ", ";
    Append(lines, item, mnemonic + Operand(op, item.offset), OpcodeComment(code));
  }

  void AppendData(std::vector<std::string>& lines, const TItem& item) const {
    // The bytes of a cut-off instruction are not unknown opcodes: they go without comment.
    const std::string comment = item.kind == TKind::Unknown ? std::string(kDataComment) : "";
    Append(lines, item, "DB    #" + Hex(At(item.offset), 2) + "h", comment);
  }

  void Append(std::vector<std::string>& lines, const TItem& item, const std::string& code,
              std::string comment) const {
    const std::string label = m_referenced[item.offset] ? "L" + Hex(Address(item.offset), 4) + ":" : "";
    std::string line = Padded(Padded(label, 6) + std::string(10, ' ') + code, kCommentColumn);
    const bool gap = comment.ends_with("\r\n");
    if (gap) comment.resize(comment.size() - 2);
    if (!comment.empty()) line += ";" + comment;
    lines.push_back(std::move(line));
    if (gap) lines.emplace_back();
  }

  std::string_view m_bytes;
  uint16_t m_start;
  std::vector<TItem> m_items;
  std::vector<bool> m_lineStart;   // by offset: a line of the listing begins here
  std::vector<bool> m_referenced;  // by offset: an instruction of the block refers here
};

}  // namespace

std::vector<std::string> Disassemble(std::string_view bytes, uint16_t start) {
  return TListing(bytes, start).Lines();
}

std::string JoinEditorLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace zarvek::hc05
