// $INCLUDE splices a module's BASIC text into the source behind the statement's line and
// appends its assembler text; MODULE names the project or the module being compiled.
#include <filesystem>

#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/driver.h"
#include "compiler/expression.h"
#include "compiler/module_loader.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/statements.h"
#include "text/lines.h"
#include "text/names.h"

namespace zarvek {

std::string TModuleLoader::Canonical(const std::string& path) const {
  return std::filesystem::path(path).lexically_normal().string();
}

namespace {

// File and module names compare without regard to case.
bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

// The module's name taken relative to the project's folder. Projects written on Windows
// separate folders with backslashes.
std::string ModuleFullName(const TCompilerContext& c, std::string name) {
  if (std::filesystem::path::preferred_separator != '\\')
    for (char& ch : name)
      if (ch == '\\') ch = '/';
  const std::filesystem::path folder = std::filesystem::path(c.projectFileName).parent_path();
  return c.modules->Canonical((folder / name).string());
}

// Where the module text goes: behind the line end of the $INCLUDE's line, so that the
// rest of that line stays with it and the module starts on a line of its own. The last
// line of the project's text gets a line end first. Returns the 0-based index of the
// insertion point, which is the record's start.
int32_t InsertionPoint(TCompilerContext& c) {
  size_t p = static_cast<size_t>(c.position) - 1;
  while (p < c.source.size() && !IsLineEnd(c.source[p])) ++p;
  if (p >= c.source.size()) {
    c.source += "\r\n";
    return static_cast<int32_t>(c.source.size());
  }
  if (c.source[p] == '\r' && p + 1 < c.source.size() && c.source[p + 1] == '\n') ++p;
  return static_cast<int32_t>(p) + 1;
}

// A module whose last line has no line end would run into the text behind it.
void EndWithLineEnd(std::string& text) {
  if (!text.empty() && !IsLineEnd(text.back())) text += "\r\n";
}

bool ReportFileProblem(TCompilerContext& c, int32_t at, const std::string& full) {
  if (!c.modules || !c.modules->Exists(full)) {
    ReportAt(c, at, full, msg::FileNotFound);
    return true;
  }
  for (const TIncludeRecord& r : c.includes)
    if (SameText(r.fileName, full)) {
      ReportAt(c, at, full, msg::ModuleAlreadyIncluded);
      return true;
    }
  if (SameText(c.modules->Canonical(c.projectFileName), full)) {
    ReportAt(c, at, c.projectFileName, msg::ModuleIncludesItself);
    return true;
  }
  return false;
}

void Splice(TCompilerContext& c, const std::string& full, TModuleFile module) {
  TIncludeRecord record;
  record.fileName = full;
  record.parentIndex = c.moduleIndex;
  record.parentFileName = c.moduleIndex >= 0 ? c.includes[static_cast<size_t>(c.moduleIndex)].fileName : c.projectFileName;
  record.start = InsertionPoint(c);
  EndWithLineEnd(module.basicSource);
  record.length = static_cast<int32_t>(module.basicSource.size());
  // The modules around the insertion point grow by the module's text.
  for (TIncludeRecord& r : c.includes)
    if (r.start < record.start && record.start <= r.start + r.length) {
      r.length += record.length;
      ++record.depth;
    }
  c.source.insert(static_cast<size_t>(record.start), module.basicSource);

  const std::vector<std::string> lines = SplitLines(module.assemblerSource);
  record.assemblerFirstLine = static_cast<int32_t>(c.assemblerLines.size());
  record.assemblerLineCount = static_cast<int32_t>(lines.size());
  c.assemblerLines.insert(c.assemblerLines.end(), lines.begin(), lines.end());
  if (c.assemblerLabelNames)
    for (std::string& name : c.assemblerLabelNames(lines)) AddAsmLabel(c, {std::move(name), 0});

  const size_t first = static_cast<size_t>(record.start), end = first + static_cast<size_t>(record.length);
  c.includes.push_back(std::move(record));
  // The module's continued lines are joined by the rule of the project's own text, so a
  // module compiles as it does when opened on its own.
  JoinContinuedLines(c, first, end);
}

}  // namespace

void CompileInclude(TCompilerContext& c) {
  if (!c.wordIsFirstOfLine) return CompileError(c, "", msg::IncludeNotAtLineStart);
  SkipBlanks(c);
  const int32_t at = c.position;
  std::string name;
  if (!CompileConstantString(c, name)) return;
  ExpectEnd(c);
  if (c.errorReported) return;
  const std::string full = c.modules ? ModuleFullName(c, name) : name;
  if (ReportFileProblem(c, at, full)) return;
  TModuleFile module = c.modules->Load(full);
  if (module.result != 0) return ReportAt(c, at, full, module.result == 1 ? msg::FileNotAProject : msg::FileAccessError);
  Splice(c, full, std::move(module));
}

void CompileModule(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t at = c.position;
  const std::string name = ReadIdentifier(c);
  if (c.errorReported) return;
  const int32_t k = c.moduleIndex;
  auto nameTaken = [&](int32_t except) {
    for (size_t r = 0; r < c.includes.size(); ++r)
      if (static_cast<int32_t>(r) != except && SameText(c.includes[r].moduleName, name)) return true;
    return except >= 0 && SameText(c.projectModuleName, name);
  };
  c.errorPosition = at;
  if (k < 0) {
    if (!c.projectModuleName.empty() && !SameText(c.projectModuleName, name))
      return CompileError(c, name + "/" + c.projectModuleName, msg::ModuleNamedTwice);
    if (nameTaken(-1)) return CompileError(c, name, msg::ModuleNameTwice);
    c.projectModuleName = name;
  } else {
    TIncludeRecord& record = c.includes[static_cast<size_t>(k)];
    if (nameTaken(k)) return CompileError(c, name, msg::ModuleNameTwice);
    if (!record.moduleName.empty() && !SameText(record.moduleName, name))
      return CompileError(c, name + "/" + record.moduleName, msg::ModuleNamedTwice);
    record.moduleName = name;
  }
  ExpectEnd(c);
}

}  // namespace zarvek
