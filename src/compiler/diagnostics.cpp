#include "compiler/diagnostics.h"

#include "compiler/messages.h"
#include "text/shown_text.h"

namespace zarvek {

namespace {

int32_t End(const TIncludeRecord& r) { return r.start + r.length; }
bool Contains(const TIncludeRecord& r, int32_t p) { return p > r.start && p <= End(r); }

// Line and column of `position` counted in the text from `first` on, leaving out the
// spans of the given modules (their text is not part of the file being counted).
void LineColumn(const std::string& source, const std::vector<TIncludeRecord>& includes, int32_t parent,
                bool depthZero, int32_t first, int32_t position, int32_t& line, int32_t& column) {
  line = 1;
  column = 1;
  for (int32_t p = first; p < position && static_cast<size_t>(p) <= source.size(); ++p) {
    bool skipped = false;
    for (size_t k = 0; k < includes.size(); ++k) {
      const TIncludeRecord& r = includes[k];
      const bool child = depthZero ? r.depth == 0 : r.parentIndex == parent;
      if (child && Contains(r, p) && End(r) < position) {
        p = End(r);  // jump over the spliced module
        skipped = true;
        break;
      }
    }
    if (skipped) continue;
    const char ch = source[static_cast<size_t>(p) - 1];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && p + 1 < position && static_cast<size_t>(p) < source.size() && source[static_cast<size_t>(p)] == '\n') ++p;
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

}  // namespace

TMappedPosition MapPosition(const std::vector<TIncludeRecord>& includes, int32_t p) {
  TMappedPosition m;
  m.position = p;
  int inner = -1, outer = -1;
  for (size_t k = 0; k < includes.size(); ++k) {
    if (!Contains(includes[k], p)) continue;
    if (inner < 0 || includes[k].start > includes[inner].start) inner = static_cast<int>(k);
    if (outer < 0 || includes[k].start < includes[outer].start) outer = static_cast<int>(k);
  }
  // Only modules spliced directly into a text are subtracted from it: a module's length
  // already counts the modules included from inside it.
  if (inner >= 0) {
    const TIncludeRecord& r = includes[inner];
    int32_t within = p - r.start;
    for (const TIncludeRecord& child : includes)
      if (child.parentIndex == inner && End(child) < p) within -= child.length;
    m.modulePosition = within;
    m.moduleIndex = inner;
    m.moduleName = r.moduleName;
    m.fileName = r.fileName;
    int32_t top = includes[outer].start;
    for (const TIncludeRecord& r0 : includes)
      if (r0.depth == 0 && End(r0) < includes[outer].start) top -= r0.length;
    m.position = top;
    return m;
  }
  for (const TIncludeRecord& r0 : includes)
    if (r0.depth == 0 && r0.start < p) m.position -= r0.length;
  return m;
}

TSourceLocation Locate(const TCompilerContext& c, int32_t position) {
  TSourceLocation at;
  at.mapped = MapPosition(c.includes, position);
  if (at.mapped.moduleIndex >= 0)
    LineColumn(c.source, c.includes, at.mapped.moduleIndex, false, c.includes[at.mapped.moduleIndex].start + 1,
               position, at.line, at.column);
  else
    LineColumn(c.source, c.includes, -1, true, 1, position, at.line, at.column);
  return at;
}

void CompileError(TCompilerContext& c, const std::string& argument, int code) {
  if (c.errorReported) return;
  c.errorReported = true;
  TCompileError e;
  e.code = code;
  e.message = ComposeMessage(code, argument);
  e.sourcePosition = c.errorPosition;
  const TSourceLocation at = Locate(c, c.errorPosition);
  e.mapped = at.mapped;
  e.line = at.line;
  e.column = at.column;
  if (e.mapped.moduleIndex >= 0)
    e.message = ShownText(ModuleDisplayName(c.includes[static_cast<size_t>(e.mapped.moduleIndex)]), TCutAt::Start) +
                " - " + e.message;
  c.statusText = e.message;
  c.error = std::move(e);
}

void ReportAt(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  c.errorPosition = position;
  CompileError(c, argument, code);
}

}  // namespace zarvek
