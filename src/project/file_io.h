// Reading and writing the user's files so that a failure never costs the old content.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zarvek {

// How large a file of each kind may be before it is refused unread. Far above anything a
// user writes, far below what would exhaust memory.
namespace filelimit {
inline constexpr uint64_t kSourceText = 8u << 20;   // BASIC and assembler texts
inline constexpr uint64_t kProjectFile = 16u << 20; // project files (both texts, the objects), legacy projects
inline constexpr uint64_t kSettingsFile = 1u << 20;
inline constexpr uint64_t kMachineCode = 64u << 10; // raw machine code and program images: the address space
inline constexpr uint64_t kSRecordFile = 1u << 20;  // 64 KiB of code as S-records, with room for comments
}  // namespace filelimit

// NotAFile: a folder, a device, a pipe or a socket. TooLarge: beyond the limit of its kind.
enum class TReadStatus { Ok, Missing, Failed, NotAFile, TooLarge };

struct TFileContent {
  TReadStatus status = TReadStatus::Missing;
  std::string bytes;
};

// Reads a regular file whole, at most `limit` bytes; anything else is refused without
// waiting on it or reading it to its end.
TFileContent ReadFileBytes(const std::string& path, uint64_t limit);

// Why a file was refused, as a sentence for the user (UTF-8), for NotAFile and TooLarge;
// the generic "cannot be read" text otherwise.
std::string ReadFailureText(TReadStatus status, uint64_t limit);

// Whether two names lead to one existing file, through links and hard links alike.
bool IsSameFile(const std::string& a, const std::string& b);

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
