// What the generated image source defines; used by tessel_image.cpp only.
#pragma once

#include <map>
#include <string>

#include "tessel/tessel_image.h"

namespace zarvek::tessel {

struct TGeneratedImage {
  hc05::TRuntimeImage image;
  uint32_t systemBytesUsed = 0;
  std::map<std::string, uint16_t, std::less<>> symbols;
};

const TGeneratedImage& GeneratedImage(TTesselVariant variant);

}  // namespace zarvek::tessel
