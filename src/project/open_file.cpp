#include "project/open_file.h"

#include "project/file_io.h"

namespace zarvek {

TFileKind KindOfFile(const std::string& fileName) {
  const std::string ext = UpperExtension(fileName);
  if (ext == ".XML" || ext == ".BAK") return TFileKind::Project;
  if (ext == ".ASM") return TFileKind::AssemblerText;
  if (ext == ".BAS") return TFileKind::BasicText;
  return TFileKind::Other;
}

TLoadOutcome OpenFile(const std::string& fileName, TProject& project) {
  const TFileKind kind = KindOfFile(fileName);
  if (kind == TFileKind::Project) return LoadProject(fileName, TLoadMode::Interactive, project);
  if (kind == TFileKind::Other) return OpenFailure(loadresult::NotAProject, fileName);
  const TFileContent file = ReadFileBytes(fileName, filelimit::kSourceText);
  if (file.status != TReadStatus::Ok) return ReadFailure(fileName, file.status, filelimit::kSourceText);
  (kind == TFileKind::AssemblerText ? project.assemblerSource : project.basicSource) = file.bytes;
  TLoadOutcome outcome;
  NoteReadOnly(fileName, outcome);
  return outcome;
}

}  // namespace zarvek
