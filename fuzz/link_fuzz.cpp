// Untrusted input of the controller link: HEX files, and whatever a board (or anything
// else on the line) sends to the upload and the update, and whatever a host sends to a
// virtual board. None of it may crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/profile.h"
#include "link/bootloader.h"
#include "link/fake_port.h"
#include "link/intel_hex.h"
#include "link/pyxon_board.h"
#include "link/upload.h"

namespace {

using namespace zarvek::link;
using zarvek::TProfile;

constexpr TProfile kProfiles[] = {TProfile::Tessel11, TProfile::TesselMicro, TProfile::Tessel20, TProfile::Pyxon32,
                                  TProfile::Pyxon128};

class TQuietUpload final : public TUploadListener {
 public:
  void OnStatus(const std::string&) override {}
  void OnProgress(int32_t, int32_t) override {}
  void OnAnimationStopped() override {}
  void OnTransferred() override {}
};

class TQuietUpdate final : public TBootloaderListener {
 public:
  void OnStatus(const std::string&) override {}
  void OnProgress(int32_t) override {}
};

// The input as a sequence of reads: a length byte, then that many bytes; clock steps
// between the reads.
template <typename Feed>
void Replay(const std::string& data, TManualClock& clock, Feed feed) {
  size_t at = 0;
  while (at < data.size()) {
    const size_t n = static_cast<uint8_t>(data[at++]) % 64;
    feed(data.substr(at, n));
    at += n;
    clock.Advance(n * 37);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string data(reinterpret_cast<const char*>(bytes), size);
  const TProfile profile = size > 0 && (bytes[0] & 1) ? TProfile::Pyxon128 : TProfile::Pyxon32;
  ReadIntelHex(data, PageGeometry(profile));

  {
    TFakePort* port = nullptr;
    TLink link([&port] {
      auto p = std::make_unique<TFakePort>();
      port = p.get();
      return p;
    });
    link.LinkOpen("fuzz", "9600");
    TManualClock clock;
    TQuietUpload listener;
    TUploadMachine upload(link, clock, listener);
    link.receiveHandler = [&](const std::string& d) {
      if (link.TransferState != 0) upload.ReceiveCallBack(d);
    };
    TUploadStreams streams;
    BuildUploadStreams(data.substr(0, 300), data.substr(0, size % 7), streams);
    upload.Start(size > 1 ? kProfiles[bytes[1] % 5] : TProfile::Tessel11, size > 2 ? bytes[2] % 3 : 1, streams);
    Replay(data, clock, [&](const std::string& chunk) {
      port->Inject(chunk);
      upload.Poll();
    });
  }
  {
    TFakePort* port = nullptr;
    TLink link([&port] {
      auto p = std::make_unique<TFakePort>();
      port = p.get();
      return p;
    });
    TManualClock clock;
    TQuietUpdate listener;
    TBootloaderMachine update(link, clock, listener);
    update.Start(profile, "fuzz", "9600", ":0400000001020304F2\r\n");
    Replay(data, clock, [&](const std::string& chunk) {
      port->Inject(chunk);
      update.Poll();
    });
  }
  {
    TBoardFaults faults;
    faults.rejectPage = 1;
    TPyxonBoardProtocol board(profile, faults);
    bool running = false;
    for (const uint8_t b : data) {
      if (board.TakesByte(b, running)) running = board.OnByte(b, running).programStored || running;
    }
  }
  return 0;
}
