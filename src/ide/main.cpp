// The Zarvek IDE.
#include <cstdlib>

#include "ide/main_window.h"
#include "ide/single_instance.h"
#include "workspace/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zarvek"));
  // A second start ends at once and leaves the running IDE alone.
  zarvek::ide::TSingleInstance instance(zarvek::ide::TSingleInstance::DefaultLockPath());
  if (!instance.Claim()) return 0;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  zarvek::ide::TForm1 window(zarvek::workspace::SettingsFilePath([](const char* name) { return std::getenv(name); }));
  window.InitApplication(arguments);
  if (window.StartMaximized()) window.showMaximized();
  else window.show();
  return QApplication::exec();
}
