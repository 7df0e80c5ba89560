// The simulation objects panel: the eight insert buttons, the object grid and the
// settings grid of the selected object with its row editors and the popup menu (copy,
// cut, paste, delete). The rules come from TObjectGrid; this shows them.
#pragma once

#include <array>
#include <functional>

#include "simulation/object_grid.h"
#include "simulation/program_symbols.h"

#include <QWidget>

class QTableWidget;
class QAction;
class QMenu;

namespace zarvek::ui {
class TObjectGridWidget;
}

namespace zarvek::ide {

class TObjectPanel : public QWidget {
  Q_OBJECT
 public:
  TObjectPanel(TObjectGrid& grid, QWidget* parent = nullptr);
  ui::TObjectGridWidget* GridWidget() const { return m_gridWidget; }
  QTableWidget* SettingsGrid() const { return m_settings; }
  // The insert buttons, for a toolbar of the owner.
  QAction* InsertButton(uint16_t type) const { return m_insert[type - 1u]; }
  QMenu* PopupMenu() const { return m_popup; }
  // The names the row editors offer come from the last build.
  void SetSymbols(const TProgramSymbols* symbols) { m_symbols = symbols; }
  // What a variable display shows in its "Wert" row.
  std::function<std::string(int x, int y)> shownValue;
  // Enabling of the insert buttons and editors, the settings rows of the selection.
  void Refresh();
  // Edits a settings row as its editor does (tests and the editors use it); a refused
  // edit reports its reason through Refused and the row shows the value kept.
  bool EditRow(int row, const std::string& utf8Text);
  // The popup menu (copy, cut, paste, delete) at a global position, for the selection.
  void ShowPopup(const QPoint& globalAt);

 Q_SIGNALS:
  void Changed();
  void Refused(const std::string& message);

 private:
  void FillSettings();

  TObjectGrid& m_grid;
  const TProgramSymbols* m_symbols = nullptr;
  ui::TObjectGridWidget* m_gridWidget = nullptr;
  QTableWidget* m_settings = nullptr;
  std::array<QAction*, 8> m_insert{};
  QMenu* m_popup = nullptr;
  bool m_filling = false;
};

}  // namespace zarvek::ide
