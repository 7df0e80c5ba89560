#include "project/project_export.h"

#include <cstdint>

namespace zarvek {

namespace {

std::string ByteLines(std::string_view bytes) {
  std::string text = std::to_string(bytes.size()) + "\r\n";
  for (char b : bytes) text += std::to_string(static_cast<uint8_t>(b)) + " ";
  return text + "\r\n";
}

}  // namespace

std::string CompiledProjectExport(std::string_view image, std::string_view machineCode) {
  return "TESEL-BASIC\r\n" + ByteLines(image) + ByteLines(machineCode);
}

}  // namespace zarvek
