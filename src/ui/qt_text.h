// The one place where cp1252 texts and UTF-8 messages become Qt strings and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "text/cp1252.h"

namespace zarvek::ui {

inline QString FromCp1252(std::string_view bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }
inline std::string ToCp1252(const QString& text) { return Utf8ToCp1252(text.toStdString()); }
inline QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace zarvek::ui
