// Reading and writing the user's files so that a failure never costs the old content.
#pragma once

#include <string>
#include <string_view>

namespace zarvek {

enum class TReadStatus { Ok, Missing, Failed };

struct TFileContent {
  TReadStatus status = TReadStatus::Missing;
  std::string bytes;
};

TFileContent ReadFileBytes(const std::string& path);

// Replaces the content of `path`: the bytes go to a new file in the same folder, which is
// renamed over the old one only once it is completely written, so that a full disk or a
// crash leaves the old file as it was. A file the user may not write is left alone, as
// writing it in place would fail. False when anything failed.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// Copies a file over `to`, replacing an older copy.
bool CopyFileReplacing(const std::string& from, const std::string& to);

bool FileExists(const std::string& path);
// The user may read but not write the file.
bool IsReadOnlyFile(const std::string& path);

// The name without its folder.
std::string FileNameOnly(const std::string& path);
// The extension with its dot, upper-cased ("" when there is none).
std::string UpperExtension(const std::string& path);
// The name with its extension replaced (or added): "a/b.xml" + ".BAK" -> "a/b.BAK".
std::string ReplaceExtension(const std::string& path, const std::string& extension);

}  // namespace zarvek
