#include "workspace/paths.h"

#include <algorithm>
#include <cctype>

namespace zarvek::workspace {

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

bool SamePath(std::string_view a, std::string_view b) {
#ifdef _WIN32
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
#else
  return a == b;
#endif
}

std::string BaseName(std::string_view path) {
  const auto it = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  return std::string(path.substr(static_cast<size_t>(path.rend() - it)));
}

std::string FolderOf(std::string_view path) {
  const auto it = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  if (it == path.rend()) return {};
  return std::string(path.substr(0, static_cast<size_t>(path.rend() - it) - 1));
}

std::string ModuleDisplayName(std::string_view path) {
  std::string name = BaseName(path);
  if (name.size() >= 4) {
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail == ".xml") name.resize(name.size() - 4);
  }
  return name;
}

size_t CharCount(std::string_view utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::string_view LastChars(std::string_view utf8, size_t count) {
  size_t start = utf8.size();
  size_t seen = 0;
  while (start > 0 && seen < count) {
    --start;
    if (!IsContinuationByte(utf8[start])) ++seen;
  }
  return utf8.substr(start);
}

}  // namespace zarvek::workspace
