// The IDE's speed as a user feels it: start-up to a shown window with the example
// project, and a keystroke in a 5,000-line project with the syntax check on (the check
// runs beside typing; its own time is measured too).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ide/main_window.h"
#include "pipeline/build.h"
#include "ui/source_editor.h"

#include <QApplication>
#include <QTest>

namespace {

std::string SettingsPath() { return (std::filesystem::temp_directory_path() / "zarvek-bench" / "Zarvek.ini").string(); }

std::string LongProgram() {
  std::string text = "DIM x AS INTEGER\r\n";
  for (int i = 1; i < 5000; ++i) text += "x = x + 1 ' Zeile " + std::to_string(i) + "\r\n";
  return text;
}

void BM_StartupToShownWindow(benchmark::State& state) {
  const std::string example = std::filesystem::absolute(ZARVEK_EXAMPLE).string();
  for (auto _ : state) {
    zarvek::ide::TForm1 w(SettingsPath());
    w.OpenFile(example);
    w.resize(1200, 800);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) state.SkipWithError("window not shown");
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

void BM_KeystrokeToRepaint5000Lines(benchmark::State& state) {
  zarvek::ide::TForm1 w(SettingsPath());
  w.SetSyntaxCheckDelay(0);  // a check starts after every key
  w.resize(1200, 800);
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) state.SkipWithError("window not shown");
  zarvek::ui::TSourceEditor* e = w.BasicEditor();
  e->SetCp1252Text(LongProgram());
  e->setCursorPosition(2500, 0);
  e->setFocus();
  for (auto _ : state) {
    QTest::keyClick(e, Qt::Key_A);
    e->repaint();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_KeystrokeToRepaint5000Lines)->Unit(benchmark::kMillisecond);

void BM_SyntaxCheck5000Lines(benchmark::State& state) {
  zarvek::TBuildInput input;
  input.basicSource = LongProgram();
  input.silent = true;
  for (auto _ : state) {
    zarvek::TBuilder builder;
    benchmark::DoNotOptimize(builder.Build(input));
  }
}
BENCHMARK(BM_SyntaxCheck5000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
