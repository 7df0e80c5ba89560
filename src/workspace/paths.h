// File names as the IDE compares and shows them (UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace zarvek::workspace {

// Whether two full file names name the same file: without regard to case where the file
// system ignores it (Windows), exactly elsewhere, so that two files differing only in case
// never share a tab or a recent-file entry.
bool SamePath(std::string_view a, std::string_view b);

// The name without its folder ("/" and "\" both separate folders).
std::string BaseName(std::string_view path);
// The folder part, without the last separator ("" for a bare name).
std::string FolderOf(std::string_view path);
// A module's display name: the name without its folder and without a trailing ".xml"
// (any case).
std::string ModuleDisplayName(std::string_view path);

// Number of characters (code points) of a UTF-8 text.
size_t CharCount(std::string_view utf8);
// The last `count` characters of a UTF-8 text.
std::string_view LastChars(std::string_view utf8, size_t count);

}  // namespace zarvek::workspace
