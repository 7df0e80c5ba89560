// The variable view on screen: one top-level item per call frame, the variables below,
// values that changed since the last pause in red.
#pragma once

#include <vector>

#include "simulation/variable_view.h"

class QTreeWidget;

namespace zarvek::ide {

void FillVariableTree(QTreeWidget& tree, const std::vector<TVariableNode>& branches);

}  // namespace zarvek::ide
