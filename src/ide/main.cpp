// The Zarvek IDE.
#include <cstdlib>

#include "ide/main_window.h"
#include "workspace/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zarvek"));
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  zarvek::ide::TForm1 window(zarvek::workspace::SettingsFilePath([](const char* name) { return std::getenv(name); }));
  window.InitApplication(arguments);
  window.showMaximized();
  return QApplication::exec();
}
