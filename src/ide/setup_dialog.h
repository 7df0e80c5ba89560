// TSetup, "Einstellungen": fonts, colours and compiler options. Every change applies at
// once through the callback the main window gives; the file is written when the main
// window closes.
#pragma once

#include <functional>
#include <optional>

#include "project/settings.h"

#include <QDialog>

class QListWidget;

namespace zarvek::ide {

class TSetup : public QDialog {
  Q_OBJECT
 public:
  TSetup(TSettings& settings, std::function<void()> apply, QWidget* parent = nullptr);
  // Fills the lists from the settings (fixed-pitch fonts only).
  void FormShow();
  void FontsChange();
  void FarbenClick(int row);
  void CheckListClickCheck();

  // The colour dialog, preset to the current colour; tests answer it.
  std::function<std::optional<int32_t>(int32_t current)> colourHook;

  QListWidget* Fonts() const { return m_fonts; }
  QListWidget* FontSize() const { return m_sizes; }
  QListWidget* Farben() const { return m_colours; }
  QListWidget* CheckList() const { return m_checks; }

 private:
  void PaintSwatches();
  TSettings& m_settings;
  std::function<void()> m_apply;
  QListWidget* m_fonts;
  QListWidget* m_sizes;
  QListWidget* m_colours;
  QListWidget* m_checks;
  bool m_filling = false;
};

}  // namespace zarvek::ide
