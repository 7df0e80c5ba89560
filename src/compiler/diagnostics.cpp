#include "compiler/diagnostics.h"

#include <tuple>

#include "compiler/line_index.h"
#include "compiler/messages.h"
#include "text/shown_text.h"

namespace zarvek {

namespace {

int32_t End(const TIncludeRecord& r) { return r.start + r.length; }
bool Contains(const TIncludeRecord& r, int32_t p) { return p > r.start && p <= End(r); }

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
  // During the compilation the source still grows; the index is kept once it is final.
  const TLineIndex fresh = c.lineIndex ? TLineIndex{} : TLineIndex(c.source, c.includes);
  const TLineIndex& index = c.lineIndex ? *c.lineIndex : fresh;
  TSourceLocation at;
  at.mapped = MapPosition(c.includes, position);
  std::tie(at.line, at.column) = index.LineColumn(at.mapped.moduleIndex, position);
  at.projectLine = at.line;
  if (at.mapped.moduleIndex >= 0) {
    // The outermost module's $INCLUDE line: its record starts at that line's end.
    size_t outer = static_cast<size_t>(at.mapped.moduleIndex);
    while (c.includes[outer].parentIndex >= 0) outer = static_cast<size_t>(c.includes[outer].parentIndex);
    at.projectLine = index.LineColumn(-1, c.includes[outer].start).first;
  }
  return at;
}

void CompileError(TCompilerContext& c, const std::string& argument, int code) {
  if (c.errorReported) return;
  c.errorReported = true;
  TCompileError e;
  e.code = code;
  std::string message = ComposeMessage(code, argument);
  e.sourcePosition = c.errorPosition;
  const TSourceLocation at = Locate(c, c.errorPosition);
  e.mapped = at.mapped;
  e.line = at.line;
  e.column = at.column;
  if (e.mapped.moduleIndex >= 0)
    message = ShownText(ModuleDisplayName(c.includes[static_cast<size_t>(e.mapped.moduleIndex)]), TCutAt::Start, kShownPathCharacters) +
              " - " + message;
  c.statusText = message;
  e.message = TUtf8Text(std::move(message));
  c.error = std::move(e);
}

void ReportAt(TCompilerContext& c, int32_t position, const std::string& argument, int code) {
  c.errorPosition = position;
  CompileError(c, argument, code);
}

}  // namespace zarvek
