#include "project/file_io.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

#include "project/native_file.h"
#include "project/project_file.h"
#include "text/names.h"

namespace zarvek {

namespace fs = std::filesystem;

namespace {

// Makes the data durable before the rename publishes it.
bool FlushToDisk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#if defined(__unix__) || defined(__APPLE__)
  if (::fsync(::fileno(f)) != 0) return false;
#endif
  return true;
}

// A new file beside the target that no other file occupies.
std::FILE* CreateTemporary(const fs::path& folder, fs::path& name) {
  for (int n = 0; n < 100; ++n) {
    name = folder / (".zarvek-save-" + std::to_string(n) + ".tmp");
    if (std::FILE* f = std::fopen(name.c_str(), "wbx")) return f;
    std::error_code ec;
    if (!fs::exists(name, ec)) return nullptr;  // the folder refuses new files
  }
  return nullptr;
}

bool WriteAll(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && FlushToDisk(f);
}

}  // namespace

TFileContent ReadFileBytes(const std::string& path, uint64_t limit) {
  TFileContent content;
  native::TReadHandle file;
  switch (file.Open(path)) {
    case native::TOpenResult::Opened: break;
    case native::TOpenResult::Missing: content.status = TReadStatus::Missing; return content;
    case native::TOpenResult::Failed: content.status = TReadStatus::Failed; return content;
    case native::TOpenResult::NotRegular: content.status = TReadStatus::NotAFile; return content;
  }
  if (file.Size() > limit) {
    content.status = TReadStatus::TooLarge;
    return content;
  }
  content.bytes.reserve(static_cast<size_t>(file.Size()));
  // A file that grows while it is read is still cut off at the limit.
  std::vector<char> buffer(size_t{1} << 16);
  for (;;) {
    const int64_t n = file.Read(buffer.data(), buffer.size());
    if (n < 0) {
      content.status = TReadStatus::Failed;
      content.bytes.clear();
      return content;
    }
    if (n == 0) break;
    if (content.bytes.size() + static_cast<uint64_t>(n) > limit) {
      content.status = TReadStatus::TooLarge;
      content.bytes.clear();
      return content;
    }
    content.bytes.append(buffer.data(), static_cast<size_t>(n));
  }
  content.status = TReadStatus::Ok;
  return content;
}

std::string ReadFailureText(TReadStatus status, uint64_t limit) {
  if (status == TReadStatus::NotAFile) return "Keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe).";
  if (status != TReadStatus::TooLarge) return kOpenFailedText;
  const std::string size = limit % (1u << 20) == 0 ? std::to_string(limit >> 20) + " MiB"
                           : limit % (1u << 10) == 0 ? std::to_string(limit >> 10) + " KiB"
                                                     : std::to_string(limit) + " Bytes";
  return "Die Datei ist zu groß (höchstens " + size + ").";
}

bool IsSameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  const bool same = fs::equivalent(a, b, ec);
  return !ec && same;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  fs::path target(path);
  const bool existed = fs::exists(target, ec);
  if (existed) {
    // Through a link the file it names is replaced, not the link.
    target = fs::canonical(target, ec);
    if (ec || !fs::is_regular_file(target, ec)) return false;
    if (!std::ofstream(target, std::ios::binary | std::ios::app)) return false;  // opening for append changes nothing
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  fs::path temporary;
  std::FILE* f = CreateTemporary(folder, temporary);
  if (!f) return false;
  const bool written = WriteAll(f, bytes);
  const bool closed = std::fclose(f) == 0;
  if (written && closed && existed) fs::permissions(temporary, fs::status(target, ec).permissions(), ec);
  if (written && closed) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

bool IsReadOnlyFile(const std::string& path) {
  std::error_code ec;
  const fs::perms p = fs::status(path, ec).permissions();
  return !ec && (p & fs::perms::owner_write) == fs::perms::none;
}

std::string FileNameOnly(const std::string& path) { return fs::path(path).filename().string(); }

std::string UpperExtension(const std::string& path) { return UpperCase(fs::path(path).extension().string()); }

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  return fs::path(path).replace_extension(extension).string();
}

}  // namespace zarvek
