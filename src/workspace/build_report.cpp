#include "workspace/build_report.h"

#include "project/settings.h"
#include "text/cp1252.h"
#include "workspace/texts.h"

namespace zarvek::workspace {

void ShowCompiling(TErrorDisplay& display) {
  display.ClearAll();
  display.Set(TSlot::Compile, std::string(kCompilingText));
}

void ShowBuildResult(const TBuildResult& result, TProfile profile, uint8_t options, TBuildSender sender,
                     TErrorDisplay& display) {
  display.ClearAll();
  if (result.basicError) {
    display.Set(TSlot::Compile, result.basicError->message.str(), result.basicError->mapped.position);
    return;
  }
  if (result.assemblerError) {
    display.Set(TSlot::Assembler, result.assemblerError->message, result.assemblerError->line);
    return;
  }
  if (!result.success) return;
  if (sender == TBuildSender::Command) {
    display.Set(TSlot::Compile, CompiledText(profile));
    display.SetCompiled(true);
  }
  const bool warnings = (options & option::Warnings) != 0;
  const std::string notice = BuildNoticeText(result.program.statusText.str(),
                                             ToUtf8(result.link.warningsText).str(), warnings);
  const int32_t position = warnings && !result.link.warnings.empty() ? result.link.warnings.front().mapped.position : -1;
  display.Set(TSlot::Status, notice, position);
}

bool JumpsToError(const TBuildResult& result, TBuildSender sender) {
  return sender == TBuildSender::Command && (result.basicError || result.assemblerError);
}

void TakeBuildIntoTree(const TBuildResult& result, const std::vector<hc05::TAsmSymbol>& assemblerSymbols,
                       TTreeContent& content) {
  content.includes = result.program.includes;
  if (result.program.success) content.basicBytes = result.program.image.size();
  if (result.machineCode.success) {
    content.assemblerBytes = result.machineCode.code.size();
    content.assemblerSymbols = assemblerSymbols;
  }
}

}  // namespace zarvek::workspace
