#include "project/project_file.h"

#include "project/file_io.h"

namespace zarvek {

TLoadOutcome OpenFailure(int result, const std::string& fileName) {
  TLoadOutcome outcome;
  outcome.result = result;
  outcome.message = result == loadresult::ReadFailed ? std::string(kOpenFailedText) : NotAProjectText(fileName);
  outcome.caption = kOpenErrorCaption;
  return outcome;
}

TLoadOutcome ReadFailure(const std::string& fileName, TReadStatus status, uint64_t limit) {
  TLoadOutcome outcome = OpenFailure(loadresult::ReadFailed, fileName);
  outcome.message = ReadFailureText(status, limit);
  return outcome;
}

void NoteReadOnly(const std::string& fileName, TLoadOutcome& outcome) {
  if (!IsReadOnlyFile(fileName)) return;
  outcome.readOnly = true;
  outcome.statusText = FileNameOnly(fileName) + " ist schreibgeschützt.";
}

TLoadOutcome LoadProject(const std::string& fileName, TLoadMode mode, TProject& project) {
  const bool interactive = mode == TLoadMode::Interactive;
  // Module loads show nothing: the compiler turns the result into its own message.
  auto fail = [&](int result) {
    TLoadOutcome failed = OpenFailure(result, fileName);
    if (!interactive) {
      failed.message.clear();
      failed.caption.clear();
    }
    return failed;
  };
  const TFileContent file = ReadFileBytes(fileName, filelimit::kProjectFile);
  // A file that exists but cannot be read is an access error, not a foreign file.
  if (file.status != TReadStatus::Ok && file.status != TReadStatus::Missing) {
    if (!interactive) return fail(loadresult::ReadFailed);
    return ReadFailure(fileName, file.status, filelimit::kProjectFile);
  }
  TXML xml;
  if (file.status == TReadStatus::Ok) xml.LoadFromString(file.bytes);
  TLoadOutcome outcome;
  TProject loaded;
  if (!ReadProjectDocument(xml, mode, loaded, outcome.objectNodes)) {
    TLoadOutcome failed = fail(loadresult::NotAProject);
    // Well-formed but nested beyond the reader's bound: say so, not that it is foreign.
    if (interactive && xml.LastFailure() == TXmlFailure::TooDeep)
      failed.message = fileName + " ist zu tief verschachtelt (mehr als " + std::to_string(kMaxXmlDepth) +
                       " Ebenen von Elementen).";
    return failed;
  }
  NoteReadOnly(fileName, outcome);
  if (interactive) {
    project = std::move(loaded);
  } else {
    project.profile = loaded.profile;
    project.basicSource = std::move(loaded.basicSource);
    project.assemblerSource = std::move(loaded.assemblerSource);
  }
  return outcome;
}

TSaveOutcome SaveProject(const std::string& fileName, const TProject& project, const TBackupQuestion& question) {
  TSaveOutcome outcome;
  if (FileExists(fileName)) {
    outcome.backupMade = CopyFileReplacing(fileName, ReplaceExtension(fileName, ".BAK"));
    if (!outcome.backupMade && question && !question(kBackupFailedText, kBackupCaption)) return outcome;
  }
  if (!WriteFileReplacing(fileName, ProjectToXml(project))) {
    outcome.message = kSaveFailedText;
    outcome.caption = kSaveErrorCaption;
    return outcome;
  }
  outcome.saved = true;
  outcome.statusText = fileName + " gespeichert.";
  return outcome;
}

}  // namespace zarvek
