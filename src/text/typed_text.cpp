#include "text/typed_text.h"

#include "text/cp1252.h"

namespace zarvek {

TUtf8Text ToUtf8(const TCp1252Text& text) { return TUtf8Text(Cp1252ToUtf8(text.str())); }

TCp1252Text ToCp1252(const TUtf8Text& text) { return TCp1252Text(Utf8ToCp1252(text.str())); }

}  // namespace zarvek
