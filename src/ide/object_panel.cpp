#include "ide/object_panel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "simulation/object_bindings.h"
#include "text/cp1252.h"
#include "ui/object_grid_widget.h"
#include "ui/object_pictures.h"
#include "ui/qt_text.h"

namespace zarvek::ide {

namespace {
QIcon KindIcon(uint16_t type, uint16_t picture) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(ui::kObjectPictureSize * scale, ui::kObjectPictureSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    ui::DrawObjectPicture(p, QRect(0, 0, ui::kObjectPictureSize, ui::kObjectPictureSize), type, picture);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
}  // namespace

TObjectPanel::TObjectPanel(TObjectGrid& grid, QWidget* parent) : QWidget(parent), m_grid(grid) {
  setObjectName(QStringLiteral("ObjectPanel"));
  for (uint16_t type = 1; type <= 8; ++type) {
    const TObjectKindInfo* kind = ObjectKind(type);
    auto* a = new QAction(KindIcon(type, type == objecttype::Switch ? objectpicture::Pressed : kind->picture + (type <= 3 ? 3 : 0)),
                          ui::FromUtf8(kind->hint), this);
    a->setObjectName(ui::FromUtf8(kind->button));
    connect(a, &QAction::triggered, this, [this, type] {
      if (m_grid.Insert(type)) {
        Refresh();
        Q_EMIT Changed();
      }
    });
    m_insert[type - 1u] = a;
  }

  m_gridWidget = new ui::TObjectGridWidget(m_grid);
  m_gridWidget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_gridWidget, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowPopup(m_gridWidget->mapToGlobal(at)); });
  auto* scroll = new QScrollArea;
  scroll->setWidget(m_gridWidget);
  scroll->setObjectName(QStringLiteral("ObjectScroll"));

  m_settings = new QTableWidget(0, 2);
  m_settings->setObjectName(QStringLiteral("ObjectSetup2"));
  m_settings->horizontalHeader()->hide();
  m_settings->verticalHeader()->hide();
  m_settings->horizontalHeader()->setStretchLastSection(true);
  m_settings->setEditTriggers(QAbstractItemView::AllEditTriggers);
  m_settings->setMinimumWidth(60);
  scroll->setMinimumWidth(60);
  connect(m_settings, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (m_filling || item->column() != 1) return;
    // The rows are rebuilt after an edit: not inside the item's own signal.
    const int row = item->row();
    const std::string text = item->text().toStdString();
    QMetaObject::invokeMethod(this, [this, row, text] { EditRow(row, text); }, Qt::QueuedConnection);
  });

  m_popup = new QMenu(this);
  m_popup->addAction(QStringLiteral("Kopieren"), this, [this] { m_grid.Copy(); Refresh(); });
  m_popup->addAction(QStringLiteral("Ausschneiden"), this, [this] { if (m_grid.Cut()) { Refresh(); Q_EMIT Changed(); } });
  m_popup->addAction(QStringLiteral("Einfügen"), this, [this] { if (m_grid.Paste()) { Refresh(); Q_EMIT Changed(); } });
  m_popup->addAction(QStringLiteral("Löschen"), this, [this] { if (m_grid.Delete()) { Refresh(); Q_EMIT Changed(); } });

  // The panel lies under the editors: the grid at the left, the selected object's
  // settings beside it.
  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(scroll);
  split->addWidget(m_settings);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(split, 1);
  Refresh();
}

void TObjectPanel::ShowPopup(const QPoint& globalAt) {
  const QList<QAction*> items = m_popup->actions();
  const bool occupied = m_grid.Selected().type != objecttype::Empty;
  items[0]->setEnabled(occupied);
  items[1]->setEnabled(occupied && m_grid.EditingAllowed());
  items[2]->setEnabled(m_grid.ClipboardFilled() && m_grid.EditingAllowed());
  items[3]->setEnabled(occupied && m_grid.EditingAllowed());
  m_popup->popup(globalAt);
}

bool TObjectPanel::EditRow(int row, const std::string& utf8Text) {
  std::string why;
  const bool done = m_grid.EditSetting(row, Utf8ToCp1252(utf8Text), &why);
  FillSettings();
  m_gridWidget->updateGeometry();
  m_gridWidget->update();
  if (done) Q_EMIT Changed();
  else Q_EMIT Refused(why);
  return done;
}

void TObjectPanel::Refresh() {
  for (uint16_t type = 1; type <= 8; ++type) m_insert[type - 1u]->setEnabled(m_grid.InsertEnabled(type));
  FillSettings();
  m_gridWidget->setMinimumSize(m_gridWidget->sizeHint());
  m_gridWidget->resize(m_gridWidget->sizeHint());
  m_gridWidget->update();
}

void TObjectPanel::FillSettings() {
  m_filling = true;
  const int x = m_grid.SelectedX(), y = m_grid.SelectedY();
  const std::vector<TSettingsRow> rows =
      m_grid.Selected().type == objecttype::Empty ? std::vector<TSettingsRow>{}
                                                  : m_grid.SettingsRows(shownValue ? shownValue(x, y) : std::string());
  m_settings->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const TSettingsRow& row = rows[static_cast<size_t>(r)];
    auto* caption = new QTableWidgetItem(ui::FromUtf8(row.caption));
    caption->setFlags(Qt::ItemIsEnabled);
    m_settings->setItem(r, 0, caption);
    m_settings->removeCellWidget(r, 1);
    auto* value = new QTableWidgetItem(ui::FromCp1252(row.text));
    const bool editable = m_grid.EditingAllowed() && !(row.caption == "Wert" && m_grid.Selected().type == objecttype::VariableNumerical);
    value->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsSelectable : Qt::ItemIsEnabled);
    m_settings->setItem(r, 1, value);
    // Rows with names to choose from get an editable list.
    const std::vector<std::string> choices =
        editable && m_symbols ? SettingChoices(row.slotKind, *m_symbols) : std::vector<std::string>{};
    if (!choices.empty()) {
      auto* combo = new QComboBox;
      combo->setEditable(true);
      for (const std::string& c : choices) combo->addItem(ui::FromCp1252(c));
      combo->setCurrentText(ui::FromCp1252(row.text));
      connect(combo, &QComboBox::textActivated, this, [this, r](const QString& t) {
        const std::string text = t.toStdString();
        QMetaObject::invokeMethod(this, [this, r, text] { EditRow(r, text); }, Qt::QueuedConnection);
      });
      m_settings->setCellWidget(r, 1, combo);
    }
  }
  m_settings->resizeColumnToContents(0);
  m_filling = false;
}

}  // namespace zarvek::ide
