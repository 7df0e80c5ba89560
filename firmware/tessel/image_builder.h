// Builds the Tessel runtime image from the operating system's assembler source with our
// own assembler. The source is plain assembler text plus marker comment lines
// "*@AT $addr LABEL [fill]": the builder inserts fill bytes before the marker until
// LABEL lands on addr, which gives the system its fixed entry points and blocks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hc05/motorola_engine.h"

namespace zarvek::tessel {

struct TBuiltImage {
  bool ok = false;
  std::string error;                   // why the build failed
  hc05::TRuntimeImage image;
  std::map<std::string, uint16_t> symbols;  // labels and numeric constants, upper case
  uint32_t systemBytesUsed = 0;        // system code bytes, fill before $0911/$1187 included
};

// micro selects the Tessel Micro variant (the source sees MICRO as 0 or 1).
TBuiltImage BuildImage(const std::vector<std::string>& sourceLines, bool micro);

}  // namespace zarvek::tessel
