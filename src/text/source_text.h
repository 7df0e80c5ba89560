// Source files as users' editors write them: Windows-1252 as the IDE stores them, or
// UTF-8 (with or without a byte-order mark), which most editors on Linux write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zarvek {

// A character of a UTF-8 file that Windows-1252 has no byte for.
struct TUnmappableCharacter {
  char32_t codePoint = 0;
  std::string utf8;     // the character as written
  int32_t line = 1;     // 1-based
  int32_t column = 1;   // 1-based, in characters (a byte-order mark not counted)
};

struct TSourceText {
  std::string cp1252;     // the text to compile
  bool fromUtf8 = false;  // the file was UTF-8 with non-ASCII bytes or a byte-order mark
  std::optional<TUnmappableCharacter> unmappable;  // set: cp1252 is empty, the file cannot be taken
};

// A file that is well-formed UTF-8 and holds non-ASCII bytes or begins with a byte-order
// mark is converted (the mark dropped); any other file is Windows-1252 already.
TSourceText DecodeSourceFile(std::string_view bytes);

// "U+2192" for a message.
std::string CodePointName(char32_t c);

}  // namespace zarvek
