// Texts that say what they hold: cp1252 bytes (source texts, project files, the serial
// line) or UTF-8 (what the user reads: messages, the toolkit). Both wrap a std::string;
// one becomes the other only through the conversions below, so a signature shows which it
// takes and no text crosses over unconverted.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace zarvek {

template <typename Encoding>
class TTypedText {
 public:
  TTypedText() = default;
  explicit TTypedText(std::string bytes) : m_bytes(std::move(bytes)) {}

  const std::string& str() const { return m_bytes; }
  bool empty() const { return m_bytes.empty(); }
  size_t size() const { return m_bytes.size(); }

  friend bool operator==(const TTypedText& a, const TTypedText& b) { return a.m_bytes == b.m_bytes; }
  // Comparing with a literal of the same encoding, as tests do.
  friend bool operator==(const TTypedText& a, std::string_view b) { return a.m_bytes == b; }
  friend std::ostream& operator<<(std::ostream& out, const TTypedText& t) { return out << t.m_bytes; }

 private:
  std::string m_bytes;
};

struct TCp1252Encoding;
struct TUtf8Encoding;
using TCp1252Text = TTypedText<TCp1252Encoding>;
using TUtf8Text = TTypedText<TUtf8Encoding>;

TUtf8Text ToUtf8(const TCp1252Text& text);
// Characters without a cp1252 byte become '?'.
TCp1252Text ToCp1252(const TUtf8Text& text);

}  // namespace zarvek
