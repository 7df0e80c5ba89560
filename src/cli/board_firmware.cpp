#include "cli/board_firmware.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <unistd.h>
#include <vector>

#include "base/profile.h"
#include "cli/cli.h"

namespace zarvek::cli {

int RunFirmwareBoard(TProfile profile, const std::string& linkPath, bool bare, std::ostream& err) {
#if defined(ZARVEK_PYXON_SIM) && defined(ZARVEK_PYXON_FIRMWARE_DIR)
  const std::string mcu = profile == profile::Pyxon128 ? "atmega128" : "atmega32";
  const std::string dir = ZARVEK_PYXON_FIRMWARE_DIR;
  std::vector<std::string> args = {ZARVEK_PYXON_SIM,
                                   "--mcu", mcu,
                                   "--runtime", dir + "/pyxon-" + mcu + ".elf",
                                   "--boot", dir + "/pyxon-boot-" + mcu + ".elf",
                                   "--pty",
                                   // a board as built: "E" programs go to a serial EEPROM
                                   "--serial-eeprom", profile == profile::Pyxon128 ? "65536" : "32768"};
  if (bare) args.push_back("--bare");
  if (!linkPath.empty()) {
    args.push_back("--link");
    args.push_back(linkPath);
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::execv(argv[0], argv.data());
  err << "zarvek-cli board: " << ZARVEK_PYXON_SIM << " lässt sich nicht starten (" << std::strerror(errno) << ").\n";
  return kExitDiagnosed;
#else
  (void)profile;
  (void)linkPath;
  (void)bare;
  err << "zarvek-cli board: --firmware braucht die Pyxon-Firmware und pyxon-sim, die in diesem Build fehlen "
         "(avr-gcc, libsimavr und libelf).\n";
  return kExitDiagnosed;
#endif
}

}  // namespace zarvek::cli
