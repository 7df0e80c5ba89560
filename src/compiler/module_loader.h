// How the compiler reaches the module files that $INCLUDE names. The compiler touches no
// file itself: the pipeline hands it a loader over project files on disk, tests one over
// projects in memory.
#pragma once

#include <string>

namespace zarvek {

// What $INCLUDE takes from a module's project file.
struct TModuleFile {
  int result = 0;  // 0 read, 1 not a project file, 2 access error
  std::string basicSource;      // cp1252
  std::string assemblerSource;  // cp1252
};

class TModuleLoader {
 public:
  virtual ~TModuleLoader() = default;
  // The one name a file is known by, for telling whether two names mean the same file.
  // Lexically normalised here; a loader on disk also resolves links, so that no file is
  // reached under endless different names.
  virtual std::string Canonical(const std::string& path) const;
  virtual bool Exists(const std::string& fullName) const = 0;
  virtual TModuleFile Load(const std::string& fullName) const = 0;
};

}  // namespace zarvek
