// CONST: numeric constants, string constants with their length constant, and constant
// tables (CONST name[n] = ARRAY{...}), whose values go into the table area as words.
#include "compiler/diagnostics.h"
#include "compiler/messages.h"
#include "compiler/expression.h"
#include "compiler/reserved_words.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variable_access.h"

namespace zarvek {

namespace {

constexpr int64_t kMaxTableValues = 4096;

void AppendTableWord(TCompilerContext& c, int64_t value) {
  c.tableArea.push_back(static_cast<char>((value >> 8) & 0xFF));
  c.tableArea.push_back(static_cast<char>(value & 0xFF));
}

void AddConstant(TCompilerContext& c, const std::string& name, int32_t position, uint32_t kinds, int64_t address) {
  Tlabel s;
  s.name = name;
  s.kind = kinds;
  s.address = address;
  s.scope = c.Scope();
  s.module = c.moduleIndex;
  s.sourcePosition = position;
  AddSymbol(c, std::move(s));
}

// "[n]" or "[]" after the name: the declared count, -1 for "[]".
bool ReadTableCount(TCompilerContext& c, int64_t& count) {
  ++c.position;
  SkipBlanks(c);
  count = -1;
  if (c.Current() != ']') {
    const int32_t at = c.position;
    count = CompileExpression(c, kConstantMask);
    if (c.errorReported) return false;
    if (count < 1) return ReportAt(c, at, "", msg::ArrayTooSmall), false;
    if (count > kMaxTableValues) return ReportAt(c, at, std::to_string(count), msg::ArrayTooLarge), false;
  }
  return ExpectChar(c, ']');
}

// The values between "{" and "}"; `declared` is -1 for "[]".
bool ReadTableValues(TCompilerContext& c, int64_t declared, int64_t& count) {
  const int64_t limit = declared < 0 ? kMaxTableValues : declared;
  const std::string of = "/" + std::to_string(declared);
  for (count = 1;; ++count) {
    SkipBlanks(c);
    const int32_t at = c.position;
    const int64_t value = CompileExpression(c, kConstantMask);
    if (c.errorReported) return false;
    if (count > limit)
      return ReportAt(c, at, std::to_string(count) + (declared < 0 ? "" : of), declared < 0 ? msg::ArrayTooLarge : msg::TooManyArrayValues), false;
    if (c.profile == profile::TesselMicro && (value < 0 || value > 255)) return ReportAt(c, at, "", msg::MicroByteOrBoolean), false;
    AppendTableWord(c, value);
    SkipBlanks(c);
    if (c.Current() == '}') break;
    if (c.Current() != ',') return CompileError(c, "", count == declared ? msg::ArrayBraceExpected : msg::ArrayCommaExpected), false;
    ++c.position;
  }
  if (count < declared) return CompileError(c, std::to_string(count) + of, msg::TooFewArrayValues), false;
  ++c.position;
  return true;
}

void CompileTable(TCompilerContext& c, const std::string& name, int32_t position) {
  int64_t declared = 0, count = 0;
  if (!ReadTableCount(c, declared) || !ExpectChar(c, '=')) return;
  SkipBlanks(c);
  const int32_t at = c.position;
  if (UpperCase(ReadName(c)) != "ARRAY") return ReportAt(c, at, "", msg::ArrayExpected);
  if (!ExpectChar(c, '{')) return;
  const int64_t offset = static_cast<int64_t>(c.tableArea.size());
  if (!ReadTableValues(c, declared, count)) return;
  AddConstant(c, name, position, KindBit(kind::Table), offset);
  c.symbols.back().bounds.push_back(TArrayBounds{1, static_cast<int32_t>(count), 1});
  c.symbols.back().value = std::to_string(count);
  ExpectEnd(c);
}

}  // namespace

void CompileConst(TCompilerContext& c) {
  SkipBlanks(c);
  const int32_t position = c.position;
  const std::string name = ReadIdentifier(c, TIdentifierVariant::String);
  if (name.empty()) return;
  c.errorPosition = position;
  const bool text = name.back() == '$';
  if (!CheckNewName(c, name, text ? msg::SimilarNameDeclared : msg::AlreadyDefined)) return;
  if (c.Current() == '[') return CompileTable(c, name, position);
  if (!ExpectChar(c, '=')) return;
  SkipBlanks(c);
  if (text) {
    std::string content;
    if (!CompileConstantString(c, content)) return;
    c.errorPosition = position;
    DefineStringConstant(c, name, content);
  } else {
    const int32_t at = c.position;
    if (UpperCase(ReadName(c)) == "ARRAY") return ReportAt(c, at, "", msg::ArrayIndexExpected);
    c.position = at;
    const int64_t value = CompileExpression(c, kConstantMask);
    if (c.errorReported) return;
    AddConstant(c, name, position, KindBit(kind::Constant), value);
  }
  ExpectEnd(c);
}

}  // namespace zarvek
