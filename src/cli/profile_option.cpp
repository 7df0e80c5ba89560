#include "cli/profile_option.h"

#include "project/project.h"

namespace zarvek::cli {

TOption ProfileOption(std::optional<TProfile>& profile) {
  return {"--profile", true, [&profile](const std::string& value) -> std::optional<std::string> {
            profile = FindProfileFileValue(value);
            if (!profile) return "unbekanntes Profil \"" + value + "\"";
            return std::nullopt;
          }};
}

}  // namespace zarvek::cli
