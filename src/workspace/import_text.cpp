#include "workspace/import_text.h"

#include "hc05/disassembler.h"
#include "hc05/srecord.h"
#include "project/file_io.h"

namespace zarvek::workspace {

TImportKind ImportKindOf(const std::string& fileName) {
  const std::string extension = UpperExtension(fileName);
  if (extension == ".S19") return TImportKind::SRecords;
  if (extension == ".CPO") return TImportKind::LegacyProject;
  return TImportKind::Binary;
}

std::string DisassemblyText(TImportKind kind, std::string_view bytes) {
  if (kind == TImportKind::SRecords) return hc05::ReadSRecords(bytes);
  if (kind != TImportKind::Binary) return {};
  std::string text;
  for (const std::string& line : hc05::Disassemble(bytes, kRawCodeStart)) text += line + "\r\n";
  return text;
}

std::string AppendText(const std::string& text, const std::string& appended) {
  if (text.empty() || text.back() == '\n' || text.back() == '\r') return text + appended;
  return text + "\r\n" + appended;
}

}  // namespace zarvek::workspace
