#include <gtest/gtest.h>

#include <type_traits>

#include "text/typed_text.h"

namespace zarvek {
namespace {

TEST(TypedText, ConversionsAreExplicitAndKeepTheCharacters) {
  // Neither kind of text is made from a plain string or from the other kind silently.
  static_assert(!std::is_convertible_v<std::string, TCp1252Text>);
  static_assert(!std::is_convertible_v<std::string, TUtf8Text>);
  static_assert(!std::is_convertible_v<TCp1252Text, TUtf8Text>);
  const TCp1252Text source("Gr\xF6\xDF" "e \x80");
  const TUtf8Text shown = ToUtf8(source);
  EXPECT_EQ(shown, "Größe €");
  EXPECT_EQ(ToCp1252(shown), source);
  // A character cp1252 lacks becomes '?'.
  EXPECT_EQ(ToCp1252(TUtf8Text("\xE2\x86\x92")), "?");
}

}  // namespace
}  // namespace zarvek
