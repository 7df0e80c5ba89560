#include "ide/setup_dialog.h"

#include "ui/qt_text.h"
#include "ui/source_lexers.h"
#include "workspace/setup_model.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zarvek::ide {

namespace {
int32_t SettingsColour(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
}  // namespace

TSetup::TSetup(TSettings& settings, std::function<void()> apply, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_apply(std::move(apply)),
      m_fonts(new QListWidget),
      m_sizes(new QListWidget),
      m_colours(new QListWidget),
      m_checks(new QListWidget) {
  setWindowTitle(ui::FromUtf8(workspace::kSetupCaption));
  m_fonts->setObjectName(QStringLiteral("Fonts"));
  m_sizes->setObjectName(QStringLiteral("FontSize"));
  m_colours->setObjectName(QStringLiteral("Farben"));
  m_checks->setObjectName(QStringLiteral("CheckList"));
  auto* pages = new QTabWidget;

  auto* display = new QWidget;
  auto* fontGroup = new QGroupBox(ui::FromUtf8(workspace::kFontGroup));
  auto* fontLayout = new QHBoxLayout(fontGroup);
  fontLayout->addWidget(m_fonts, 3);
  fontLayout->addWidget(m_sizes, 1);
  auto* colourGroup = new QGroupBox(ui::FromUtf8(workspace::kColourGroup));
  auto* colourLayout = new QVBoxLayout(colourGroup);
  colourLayout->addWidget(m_colours);
  auto* displayLayout = new QHBoxLayout(display);
  displayLayout->addWidget(fontGroup, 3);
  auto* right = new QVBoxLayout;
  right->addWidget(colourGroup);
  right->addWidget(new QLabel(ui::FromUtf8(workspace::kPreviewNote)));
  displayLayout->addLayout(right, 2);
  pages->addTab(display, ui::FromUtf8(workspace::kDisplayPage));

  auto* compiler = new QWidget;
  auto* compilerLayout = new QVBoxLayout(compiler);
  compilerLayout->addWidget(m_checks);
  pages->addTab(compiler, ui::FromUtf8(workspace::kCompilerPage));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);

  for (std::string_view size : workspace::FontSizes()) m_sizes->addItem(ui::FromUtf8(size));
  for (const workspace::TColourEntry& e : workspace::ColourEntries()) m_colours->addItem(ui::FromUtf8(e.name));
  for (std::string_view item : workspace::OptionItems()) {
    auto* check = new QListWidgetItem(ui::FromUtf8(item), m_checks);
    check->setFlags(check->flags() | Qt::ItemIsUserCheckable);
  }
  connect(m_fonts, &QListWidget::currentRowChanged, this, [this] { FontsChange(); });
  connect(m_sizes, &QListWidget::currentRowChanged, this, [this] { FontsChange(); });
  connect(m_colours, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { FarbenClick(m_colours->row(item)); });
  connect(m_checks, &QListWidget::itemChanged, this, [this] { CheckListClickCheck(); });
}

void TSetup::FormShow() {
  m_filling = true;
  m_fonts->clear();
  for (const QString& family : QFontDatabase::families()) {
    const QFontMetrics metrics{QFont(family)};
    const bool fixed = workspace::IsFixedPitch([&metrics](std::string_view s) {
      return metrics.horizontalAdvance(ui::FromUtf8(s));
    });
    if (!fixed) continue;
    auto* item = new QListWidgetItem(family, m_fonts);
    item->setFont(QFont(family));  // each name drawn in its own face
  }
  const auto found = m_fonts->findItems(QString::fromStdString(m_settings.fontName), Qt::MatchFixedString);
  if (!found.isEmpty()) m_fonts->setCurrentItem(found.front());
  m_sizes->setCurrentRow(workspace::FontSizeIndex(m_settings.fontSize));
  const std::array<bool, 4> checks = workspace::OptionChecks(m_settings.options);
  for (int i = 0; i < 4; ++i) m_checks->item(i)->setCheckState(checks[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
  PaintSwatches();
  m_filling = false;
}

void TSetup::FontsChange() {
  if (m_filling) return;
  if (m_fonts->currentItem()) m_settings.fontName = m_fonts->currentItem()->text().toStdString();
  m_settings.fontSize =
      workspace::FontSizeFromText(m_sizes->currentItem() ? m_sizes->currentItem()->text().toStdString() : std::string());
  m_apply();
}

void TSetup::FarbenClick(int row) {
  const auto entries = workspace::ColourEntries();
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  const int32_t current = m_settings.*entries[static_cast<size_t>(row)].field;
  std::optional<int32_t> chosen;
  if (colourHook) {
    chosen = colourHook(current);
  } else {
    const QColor c = QColorDialog::getColor(ui::ColourFromSettings(current), this);
    if (c.isValid()) chosen = SettingsColour(c);
  }
  if (!chosen) return;
  workspace::SetColour(m_settings, static_cast<size_t>(row), *chosen);
  PaintSwatches();
  m_apply();
}

void TSetup::CheckListClickCheck() {
  if (m_filling) return;
  std::array<bool, 4> checks{};
  for (int i = 0; i < 4; ++i) checks[static_cast<size_t>(i)] = m_checks->item(i)->checkState() == Qt::Checked;
  m_settings.options = workspace::OptionsFromChecks(checks, m_settings.options);
  m_apply();
}

void TSetup::PaintSwatches() {
  const auto entries = workspace::ColourEntries();
  for (int i = 0; i < m_colours->count(); ++i) {
    QPixmap swatch(16, 16);
    swatch.fill(ui::ColourFromSettings(m_settings.*entries[static_cast<size_t>(i)].field));
    QPainter(&swatch).drawRect(0, 0, 15, 15);
    m_colours->item(i)->setIcon(QIcon(swatch));
  }
}

}  // namespace zarvek::ide
