#include "ide/variable_tree.h"

#include <QTreeWidget>

#include "ui/qt_text.h"

namespace zarvek::ide {

namespace {
void Add(QTreeWidgetItem* parent, const TVariableNode& node) {
  auto* item = new QTreeWidgetItem(parent, QStringList{ui::FromCp1252(node.text)});
  item->setData(0, Qt::UserRole, node.image);
  if (node.changed) item->setForeground(0, QColor(200, 0, 0));
  for (const TVariableNode& child : node.children) Add(item, child);
}
}  // namespace

void FillVariableTree(QTreeWidget& tree, const std::vector<TVariableNode>& branches) {
  tree.clear();
  for (const TVariableNode& branch : branches) {
    auto* top = new QTreeWidgetItem(&tree, QStringList{ui::FromCp1252(branch.text)});
    top->setData(0, Qt::UserRole, branch.image);
    for (const TVariableNode& child : branch.children) Add(top, child);
    top->setExpanded(true);
  }
}

}  // namespace zarvek::ide
