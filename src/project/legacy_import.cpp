#include "project/legacy_import.h"

#include <cstdint>

#include "project/file_io.h"

namespace zarvek {

namespace {

constexpr std::string_view kSignature{"tsprojectfile10\x1B", 16};
constexpr size_t kHeaderSize = 25;
constexpr size_t kRecordSize = 342;
constexpr size_t kNameSize = 32;
constexpr size_t kSlotSize = 17;

uint32_t Number(std::string_view b, size_t at, size_t bytes) {
  uint32_t value = 0;
  for (size_t k = 0; k < bytes; ++k) value = value << 8 | static_cast<uint8_t>(b[at + k]);
  return value;
}

// Fixed-width text fields are padded; blanks and control characters go at both ends.
std::string Trimmed(std::string_view field) {
  size_t begin = 0, end = field.size();
  while (begin < end && static_cast<uint8_t>(field[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<uint8_t>(field[end - 1]) <= 0x20) --end;
  return std::string(field.substr(begin, end - begin));
}

TSimObject ReadRecord(std::string_view r) {
  TSimObject o;
  o.type = static_cast<uint16_t>(Number(r, 0, 2));
  o.pictureIndex = static_cast<uint16_t>(Number(r, 2, 2));
  o.name = Trimmed(r.substr(4, kNameSize));
  for (size_t s = 0; s < kObjectSlots; ++s) {
    const std::string_view slot = r.substr(4 + kNameSize + s * kSlotSize, kSlotSize);
    o.slots[s] = {Trimmed(slot.substr(0, kSlotTextLength)), static_cast<uint8_t>(slot[kSlotTextLength])};
  }
  return o;
}

// The breakpoint lists: C1 + 1 BASIC lines, then C2 + 1 assembler lines, as far as the
// file goes. A cut-off file gives no invented line-0 entries.
void ReadBreakpoints(std::string_view b, size_t at, TProject& p) {
  const size_t basicCount = Number(b, at, 2) + 1, asmCount = Number(b, at + 2, 2) + 1;
  at += 4;
  p.basicBreakpoints.clear();
  p.assemblerBreakpoints.clear();
  for (size_t k = 0; k < basicCount + asmCount && at + 2 <= b.size(); ++k, at += 2)
    (k < basicCount ? p.basicBreakpoints : p.assemblerBreakpoints).push_back(static_cast<int32_t>(Number(b, at, 2)));
}

}  // namespace

bool ReadLegacyProject(std::string_view b, TProject& project, std::vector<TObjectNode>& nodes) {
  if (b.size() <= kHeaderSize || !b.starts_with(kSignature)) return false;
  const uint64_t asmLength = Number(b, 16, 3), basicLength = Number(b, 19, 3), records = Number(b, 22, 3);
  const uint64_t textsAt = kHeaderSize + kRecordSize * records;
  if (textsAt + asmLength + basicLength > b.size()) return false;  // cut off inside the records or texts
  TProject p = project;
  std::vector<TObjectNode> found;
  for (size_t i = 0; i < records; ++i) {
    const int x = static_cast<int>(i % kGridColumns), y = static_cast<int>(i / kGridColumns);
    if (!InGrid(x, y)) break;  // records beyond the grid have no cell
    TSimObject& o = p.At(x, y);
    o = ReadRecord(b.substr(kHeaderSize + kRecordSize * i, kRecordSize));
    if (o.type != objecttype::Empty) found.push_back({o.name, 31 + o.type, x, y});
  }
  p.assemblerSource = std::string(b.substr(textsAt, asmLength));
  p.basicSource = std::string(b.substr(textsAt + asmLength, basicLength));
  const size_t tail = textsAt + asmLength + basicLength;
  if (tail < b.size()) {
    p.profile = ProfileFromCode(static_cast<uint8_t>(b[tail])).value_or(TProfile::Tessel11);
    if (b.size() - tail >= 6) ReadBreakpoints(b, tail + 1, p);
  }
  project = std::move(p);
  nodes.insert(nodes.end(), found.begin(), found.end());
  return true;
}

TLoadOutcome ImportLegacyProject(const std::string& fileName, TProject& project) {
  TLoadOutcome outcome;
  const TFileContent file = ReadFileBytes(fileName, filelimit::kProjectFile);
  if (file.status != TReadStatus::Ok && file.status != TReadStatus::Missing)
    return ReadFailure(fileName, file.status, filelimit::kProjectFile);
  if (file.status == TReadStatus::Missing || !ReadLegacyProject(file.bytes, project, outcome.objectNodes))
    return OpenFailure(loadresult::NotAProject, fileName);
  NoteReadOnly(fileName, outcome);
  return outcome;
}

}  // namespace zarvek
