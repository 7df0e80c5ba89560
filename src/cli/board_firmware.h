// zarvek-cli board --firmware: the emulated ATmega running our own firmware (bootloader
// and runtime) on a pseudo-terminal, as a second kind of virtual board.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "base/profile.h"

namespace zarvek::cli {

// Replaces the process with pyxon-sim serving the chip of the profile; returns only when
// that is impossible (the firmware was not built, or the program cannot start), with the
// exit status to use after telling why on err.
int RunFirmwareBoard(TProfile profile, const std::string& linkPath, bool bare, std::ostream& err);

}  // namespace zarvek::cli
