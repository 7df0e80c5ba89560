// No input may crash the HC05 tools: the first byte picks the assembler, the disassembler
// or the S-record reader; the rest is their input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hc05/assembler.h"
#include "hc05/disassembler.h"
#include "hc05/srecord.h"
#include "text/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0: {
      zarvek::hc05::TAssembler assembler;
      const auto lines = zarvek::SplitLines(input);
      assembler.PreRegisterLabels(lines);
      zarvek::hc05::TAssembleOptions options;
      options.breakpointLines = {0, 3, 7};
      assembler.Assemble(lines, options);
      break;
    }
    case 1: zarvek::hc05::Disassemble(input, static_cast<uint16_t>(data[0] * 257)); break;
    default: zarvek::hc05::ReadSRecords(input); break;
  }
  return 0;
}
