#include "compiler/line_index.h"

#include <algorithm>

namespace zarvek {

namespace {

int32_t End(const TIncludeRecord& r) { return r.start + r.length; }

// A module is spliced in behind a line end of its parent, so it never splits a line: the
// parent's line that follows it starts behind it.
std::vector<int32_t> LineStarts(const std::string& source, int32_t first, int32_t last,
                                const std::vector<const TIncludeRecord*>& children) {
  std::vector<int32_t> starts{first};
  size_t next = 0;
  int32_t p = first;
  while (p <= last) {
    if (next < children.size() && p == children[next]->start + 1) {
      const int32_t behind = End(*children[next++]) + 1;
      if (starts.back() == p) starts.back() = behind;
      p = behind;
      continue;
    }
    const char ch = source[static_cast<size_t>(p) - 1];
    if (ch == '\r' || ch == '\n') {
      p += ch == '\r' && p + 1 <= last && source[static_cast<size_t>(p)] == '\n' ? 2 : 1;
      starts.push_back(p);
    } else {
      ++p;
    }
  }
  return starts;
}

}  // namespace

TLineIndex::TLineIndex(const std::string& source, const std::vector<TIncludeRecord>& includes) {
  std::vector<std::vector<const TIncludeRecord*>> children(includes.size() + 1);
  for (const TIncludeRecord& r : includes) {
    const int32_t parent = r.parentIndex >= 0 && static_cast<size_t>(r.parentIndex) < includes.size() ? r.parentIndex : -1;
    children[static_cast<size_t>(parent + 1)].push_back(&r);
  }
  for (auto& list : children)
    std::sort(list.begin(), list.end(), [](const auto* a, const auto* b) { return a->start < b->start; });
  const int32_t size = static_cast<int32_t>(source.size());
  m_starts.reserve(includes.size() + 1);
  m_starts.push_back(LineStarts(source, 1, size, children[0]));
  for (size_t k = 0; k < includes.size(); ++k) {
    const TIncludeRecord& r = includes[k];
    m_starts.push_back(LineStarts(source, r.start + 1, std::min(End(r), size), children[k + 1]));
  }
}

std::pair<int32_t, int32_t> TLineIndex::LineColumn(int32_t module, int32_t position) const {
  const size_t text = static_cast<size_t>(module + 1);
  if (module < -1 || text >= m_starts.size()) return {1, 1};
  const std::vector<int32_t>& starts = m_starts[text];
  const auto after = std::upper_bound(starts.begin(), starts.end(), position);
  if (after == starts.begin()) return {1, 1};
  const int32_t line = static_cast<int32_t>(after - starts.begin());
  return {line, position - *(after - 1) + 1};
}

}  // namespace zarvek
