// Module files on disk: $INCLUDE reads other project files through the project loader.
#pragma once

#include "compiler/module_loader.h"

namespace zarvek {

class TProjectFileLoader : public TModuleLoader {
 public:
  // Absolute, with links resolved, so that a folder linking to itself cannot make one
  // file appear under endless names.
  std::string Canonical(const std::string& path) const override;
  bool Exists(const std::string& fullName) const override;
  // The project file's texts (a module load: no objects, no messages).
  TModuleFile Load(const std::string& fullName) const override;
};

}  // namespace zarvek
