// A runtime image in Intel HEX form, read into the flash pages of an ATmega board.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/profile.h"

namespace zarvek::link {

struct TPageGeometry {
  int32_t pageSize = 128;
  int32_t pageCount = 256;
};

// ATmega32 (profile 4): 128-byte pages, 256 of them; otherwise the ATmega128's 256 x 512.
TPageGeometry PageGeometry(TProfile profile);

struct TFlashPage {
  std::string data;  // page-size bytes
  uint8_t checksum = 0;  // sum of the data bytes modulo 256
};

struct THexImage {
  bool valid = false;
  int32_t line = 0;    // the first line that made the file invalid
  std::string reason;  // why, for the command-line tool
  std::vector<TFlashPage> pages;
};

// Reads the file's text (lines ending with CR LF or LF). Bytes no record covers stay
// 0xFF; every page is there, used or not.
THexImage ReadIntelHex(const std::string& text, const TPageGeometry& geometry);

}  // namespace zarvek::link
