#include "workspace/editing_aids.h"

namespace zarvek::workspace {

namespace {
size_t Indentation(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos ? line.size() : first;
}
bool Blank(const std::string& line) { return Indentation(line) == line.size(); }
}  // namespace

void CommentLines(std::vector<std::string>& lines, char mark) {
  for (std::string& line : lines)
    if (!line.empty()) line.insert(line.begin(), mark);
}

void UncommentLines(std::vector<std::string>& lines, char mark) {
  for (std::string& line : lines) {
    const size_t at = Indentation(line);
    if (at < line.size() && line[at] == mark) line.erase(at, 1);
  }
}

void IndentLeft(std::vector<std::string>& lines) {
  for (std::string& line : lines) {
    if (!line.empty() && line[0] == '\t') {
      line.erase(0, 1);
      continue;
    }
    size_t n = 0;
    while (n < static_cast<size_t>(kIndentWidth) && n < line.size() && line[n] == ' ') ++n;
    line.erase(0, n);
  }
}

void IndentRight(std::vector<std::string>& lines) {
  for (std::string& line : lines)
    if (!line.empty()) line.insert(0, static_cast<size_t>(kIndentWidth), ' ');
}

void AlignLines(std::vector<std::string>& lines) {
  std::string indentation;
  bool found = false;
  for (std::string& line : lines) {
    if (Blank(line)) continue;
    if (!found) {
      indentation = line.substr(0, Indentation(line));
      found = true;
      continue;
    }
    line = indentation + line.substr(Indentation(line));
  }
}

}  // namespace zarvek::workspace
