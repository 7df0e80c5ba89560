#include "link/intel_hex.h"

#include <optional>

#include "base/profile.h"

namespace zarvek::link {

namespace {

// Upper-case digits only, as the boards' tools write them.
int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint8_t> ByteAt(const std::string& line, size_t index) {
  const int high = Digit(line[index]);
  const int low = Digit(line[index + 1]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<uint8_t>(high * 16 + low);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

TPageGeometry PageGeometry(TProfile profile) {
  if (profile == profile::Pyxon32) return {128, 256};
  return {256, 512};
}

THexImage ReadIntelHex(const std::string& text, const TPageGeometry& geometry) {
  THexImage image;
  image.pages.assign(static_cast<size_t>(geometry.pageCount),
                     TFlashPage{std::string(static_cast<size_t>(geometry.pageSize), '\xFF'), 0});
  const auto invalid = [&image](int32_t line, std::string why) {
    image.valid = false;
    image.line = line;
    image.reason = std::move(why);
    return image;
  };
  const uint64_t flashSize = uint64_t(geometry.pageSize) * uint64_t(geometry.pageCount);
  uint64_t base = 0;
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const auto number = static_cast<int32_t>(k + 1);
    if (line.size() < 11 || line[0] != ':') return invalid(number, "kein Datensatz");
    uint8_t head[4];
    for (size_t i = 0; i < 4; ++i) {
      const auto b = ByteAt(line, 1 + 2 * i);
      if (!b) return invalid(number, "keine Hexadezimalziffer");
      head[i] = *b;
    }
    const uint8_t count = head[0];
    const uint32_t address = uint32_t{head[1]} * 256 + head[2];
    const uint8_t type = head[3];
    if (line.size() != 11 + 2 * size_t{count}) return invalid(number, "falsche Länge");
    std::string data;
    for (size_t i = 0; i < count; ++i) {
      const auto b = ByteAt(line, 9 + 2 * i);
      if (!b) return invalid(number, "keine Hexadezimalziffer");
      data.push_back(static_cast<char>(*b));
    }
    if (type == 0x02 && count == 2) {
      base = (uint64_t{static_cast<uint8_t>(data[0])} * 256 + static_cast<uint8_t>(data[1])) * 16;
      continue;
    }
    if (count == 0 || type != 0x00) continue;
    const auto checksum = ByteAt(line, line.size() - 2);
    if (!checksum) return invalid(number, "keine Hexadezimalziffer");
    uint32_t sum = count + head[1] + head[2] + type;
    for (const char c : data) sum += static_cast<uint8_t>(c);
    if (static_cast<uint8_t>(0x100 - (sum & 0xFF)) != *checksum) return invalid(number, "falsche Prüfsumme");
    // The segment base belongs to the address: a record above 64 KB lands in its page.
    const uint64_t first = base + address;
    if (first + count > flashSize) return invalid(number, "Adresse jenseits des Flash-Speichers");
    for (size_t i = 0; i < count; ++i) {
      const uint64_t at = first + i;
      image.pages[at / geometry.pageSize].data[at % geometry.pageSize] = data[i];
    }
  }
  for (TFlashPage& page : image.pages) {
    uint32_t sum = 0;
    for (const char c : page.data) sum += static_cast<uint8_t>(c);
    page.checksum = static_cast<uint8_t>(sum);
  }
  image.valid = true;
  return image;
}

}  // namespace zarvek::link
