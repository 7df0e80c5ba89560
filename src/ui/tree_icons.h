// The pictures of the project tree's nodes.
#pragma once

#include <QIcon>

#include "workspace/project_tree.h"

class QStyle;

namespace zarvek::ui {

// A simulation object shows its own picture, labels, procedures and variables small drawn
// badges of their kind, modules a linked file; the root is a file, the pages documents and
// the other groups folders.
QIcon TreeIcon(const workspace::TTreeNode& node, bool isRoot, const QStyle& style);

}  // namespace zarvek::ui
