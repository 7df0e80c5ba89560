// The --profile option of the commands that build: any profile by its project-file name.
#pragma once

#include <cstdint>
#include <optional>

#include "base/profile.h"
#include "cli/cli_args.h"

namespace zarvek::cli {

TOption ProfileOption(std::optional<TProfile>& profile);

}  // namespace zarvek::cli
