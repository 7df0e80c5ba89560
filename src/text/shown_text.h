// A piece of text (a name, a word, a file name out of the source) as a message shows it:
// control characters become visible names such as <NUL> or <CR>, and a long text is cut
// to a readable length, marked with "…".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zarvek {

// Which end of a text that is too long stays: the start of a word or name, the end of a
// file name (where its own name is).
enum class TCutAt : uint8_t { End, Start };

inline constexpr size_t kShownCharacters = 60;
// File names are shown whole up to the length a path usually reaches.
inline constexpr size_t kShownPathCharacters = 260;

// `cp1252` as UTF-8 for a message.
std::string ShownText(std::string_view cp1252, TCutAt cut = TCutAt::End, size_t limit = kShownCharacters);

}  // namespace zarvek
