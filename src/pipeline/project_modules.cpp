#include "pipeline/project_modules.h"

#include <filesystem>

#include "project/project_file.h"

namespace zarvek {

namespace fs = std::filesystem;

std::string TProjectFileLoader::Canonical(const std::string& path) const {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec) return TModuleLoader::Canonical(path);
  const fs::path resolved = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal().string() : resolved.string();
}

bool TProjectFileLoader::Exists(const std::string& fullName) const {
  std::error_code ec;
  return fs::exists(fullName, ec);
}

TModuleFile TProjectFileLoader::Load(const std::string& fullName) const {
  TProject project;
  const TLoadOutcome outcome = LoadProject(fullName, TLoadMode::Module, project);
  return {outcome.result, std::move(project.basicSource), std::move(project.assemblerSource)};
}

}  // namespace zarvek
