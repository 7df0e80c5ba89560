// The simulation as a user feels it: a Pyxon program running at full speed with 20
// objects in the grid and the console open and flooded. Reported: the token machine's
// tokens per second while the window runs beside it, the longest and mean object tick,
// and the event loop's largest gap (a 10 ms timer's lateness), which is what a user sees
// as a stuck window.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

#include "ide/console_window.h"
#include "ide/main_window.h"
#include "ide/object_panel.h"
#include "ui/source_editor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

void Place(zarvek::TObjectGrid& grid, int x, int y, uint16_t type, const std::string& name,
           const std::vector<std::string>& values) {
  grid.Select(x, y);
  grid.Insert(type);
  grid.EditSetting(0, name);
  for (size_t s = 0; s < values.size(); ++s) grid.EditSetting(static_cast<int>(s + 1), values[s]);
}

void BM_PyxonFullSpeedWith20ObjectsAndConsole(benchmark::State& state) {
  using namespace zarvek;
  ide::TForm1 w((std::filesystem::temp_directory_path() / "zarvek-bench" / "Simulation.ini").string());
  w.askHook = [](const workspace::TMessage&) { return workspace::TAnswer::No; };
  w.PopUpProfileClick(profile::Pyxon32, true);
  w.BasicEditor()->SetCp1252Text(
      "DIM leds AS BYTE PORT[1]\r\nDIM poti AS BYTE AD[1]\r\nDIM anzeige AS BYTE DA[1]\r\nDIM n AS INTEGER\r\n"
      "SETBAUD 115200\r\nDO\r\n  n = n + 1\r\n  leds = n\r\n  anzeige = poti\r\n  PRINT n\r\nLOOP\r\n");
  TObjectGrid& grid = w.Simulation()->Grid();
  const uint16_t leds[] = {objecttype::LedRed, objecttype::LedYellow, objecttype::LedGreen};
  for (int i = 0; i < 16; ++i)
    Place(grid, i % 8, i / 8, leds[i % 3], "L" + std::to_string(i), {"leds", std::to_string(i % 8 + 1), "1"});
  Place(grid, 0, 2, objecttype::AnalogWheel, "poti", {"poti", "100"});
  Place(grid, 1, 2, objecttype::AnalogGauge, "anzeige", {"anzeige"});
  Place(grid, 2, 2, objecttype::VariableNumerical, "n", {});
  Place(grid, 3, 2, objecttype::Switch, "s", {"leds", "1", "1"});
  w.Simulation()->Objects()->Refresh();
  w.resize(1200, 800);
  w.show();
  w.Simulation()->Console()->show();
  if (!QTest::qWaitForWindowExposed(&w)) state.SkipWithError("window not shown");

  qint64 largestGap = 0;
  QElapsedTimer sinceLast;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    largestGap = std::max(largestGap, sinceLast.restart());
  });
  double tokensPerSecond = 0, seconds = 0;
  uint64_t ticks = 0;
  for (auto _ : state) {
    w.Action(workspace::TCommandId::Run)->trigger();
    QTest::qWait(300);  // warmed up
    w.Simulation()->ResetTickStatistics();
    const uint64_t tokens = w.Simulation()->Tokens();
    const uint64_t ticksBefore = w.Simulation()->Ticks();
    QElapsedTimer clock;
    clock.start();
    sinceLast.start();
    probe.start();
    QTest::qWait(2000);
    probe.stop();
    seconds = clock.elapsed() / 1000.0;
    tokensPerSecond = static_cast<double>(w.Simulation()->Tokens() - tokens) / seconds;
    ticks = w.Simulation()->Ticks() - ticksBefore;
    w.Action(workspace::TCommandId::Stop)->trigger();
  }
  state.counters["tokens_per_s"] = tokensPerSecond;
  state.counters["ticks_per_s"] = static_cast<double>(ticks) / seconds;
  state.counters["longest_tick_ms"] = static_cast<double>(w.Simulation()->LongestTickMicroseconds()) / 1000.0;
  state.counters["largest_event_loop_gap_ms"] = static_cast<double>(largestGap);
  w.BasicEditor()->setModified(false);
}
BENCHMARK(BM_PyxonFullSpeedWith20ObjectsAndConsole)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
