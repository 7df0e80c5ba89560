// Module files held in memory, for tests of $INCLUDE without a disk.
#pragma once

#include <map>
#include <string>

#include "compiler/compiler.h"

namespace zarvek::test {

class TMemoryModules : public TModuleLoader {
 public:
  std::map<std::string, TModuleFile> files;
  bool Exists(const std::string& name) const override { return files.contains(name); }
  TModuleFile Load(const std::string& name) const override { return files.at(name); }
  void Add(const std::string& name, const std::string& basic, const std::string& assembler = "") {
    files[name] = {0, basic, assembler};
  }
};

}  // namespace zarvek::test
