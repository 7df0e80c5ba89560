// No project, legacy or settings file may crash the readers, and whatever loads must save
// to a file that loads again: the first byte picks the reader, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/legacy_import.h"
#include "project/project_xml.h"
#include "project/settings.h"

namespace {

using namespace zarvek;

bool Load(const std::string& text, TProject& project) {
  TXML xml;
  std::vector<TObjectNode> nodes;
  xml.LoadFromString(text);
  return ReadProjectDocument(xml, TLoadMode::Interactive, project, nodes);
}

void Require(bool condition) {
  if (!condition) std::abort();
}

// Saving what was loaded reaches a fixed point after one more round.
void CheckSavedProjectLoads(const TProject& project) {
  TProject once, twice;
  const std::string first = ProjectToXml(project);
  Require(Load(first, once));
  const std::string second = ProjectToXml(once);
  Require(Load(second, twice));
  Require(ProjectToXml(twice) == second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0: {
      TProject project;
      if (Load(input, project)) CheckSavedProjectLoads(project);
      break;
    }
    case 1: {
      TProject project;
      std::vector<TObjectNode> nodes;
      if (ReadLegacyProject(input, project, nodes)) CheckSavedProjectLoads(project);
      break;
    }
    default: {
      TSettings once, twice;
      ReadSettings(input, once);
      ReadSettings(WriteSettings(once), twice);
      Require(once == twice);
      break;
    }
  }
  return 0;
}
