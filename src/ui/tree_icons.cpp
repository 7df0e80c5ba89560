// The core headers first: the object record has a field that Qt's "slots" macro would hide.
#include "simulation/object_grid.h"
#include "simulation/variable_view.h"
#include "ui/tree_icons.h"

#include <map>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include "ui/object_pictures.h"

namespace zarvek::ui {

namespace {

constexpr int kIconSize = 16;

// Drawn at twice the size, so that the badges stay sharp on scaled displays too.
template <typename Paint>
QIcon Drawn(Paint paint) {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(kIconSize * scale, kIconSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paint(p);
    p.end();
    pixmap.setDevicePixelRatio(scale);
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon Badge(const QColor& colour, const QString& text) {
  return Drawn([&](QPainter& p) {
    const QRectF box(1.5, 1.5, kIconSize - 3, kIconSize - 3);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawRoundedRect(box, 3, 3);
    QFont font = p.font();
    font.setPixelSize(text.size() > 1 ? 8 : 10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
  });
}

QIcon Tag() {
  return Drawn([](QPainter& p) {
    QPainterPath tag;
    tag.moveTo(2, 4);
    tag.lineTo(10, 4);
    tag.lineTo(14, 8);
    tag.lineTo(10, 12);
    tag.lineTo(2, 12);
    tag.closeSubpath();
    p.setPen(QPen(QColor(30, 90, 160), 1));
    p.setBrush(QColor(90, 150, 220));
    p.drawPath(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 8), 1.3, 1.3);
  });
}

QIcon ObjectIcon(const TObjectKindInfo& kind) {
  return Drawn([&](QPainter& p) {
    p.scale(double(kIconSize) / kObjectPictureSize, double(kIconSize) / kObjectPictureSize);
    DrawObjectPicture(p, QRect(0, 0, kObjectPictureSize, kObjectPictureSize), kind.type, kind.picture);
  });
}

const TObjectKindInfo* KindOfTreeImage(int image) {
  for (uint16_t type = 1; const TObjectKindInfo* kind = ObjectKind(type); ++type)
    if (kind->treeImage == image) return kind;
  return nullptr;
}

QIcon Made(int image) {
  switch (image) {
    case workspace::kLabelNodeImage: return Tag();
    case varimage::MainOrSub: return Badge(QColor(60, 120, 60), QStringLiteral("S"));
    case varimage::Function: return Badge(QColor(120, 70, 150), QStringLiteral("f"));
    case varimage::Simple: return Badge(QColor(40, 110, 180), QStringLiteral("x"));
    case varimage::Array: return Badge(QColor(200, 120, 30), QStringLiteral("[ ]"));
    case varimage::Structure: return Badge(QColor(170, 60, 60), QStringLiteral("{ }"));
    default: break;
  }
  if (const TObjectKindInfo* kind = KindOfTreeImage(image)) return ObjectIcon(*kind);
  return {};
}

}  // namespace

QIcon TreeIcon(const workspace::TTreeNode& node, bool isRoot, const QStyle& style) {
  if (isRoot) return style.standardIcon(QStyle::SP_FileIcon);
  if (node.image == workspace::kModuleNodeImage) return style.standardIcon(QStyle::SP_FileLinkIcon);
  if (node.image >= 0) {
    static std::map<int, QIcon> made;
    auto found = made.find(node.image);
    if (found == made.end()) found = made.emplace(node.image, Made(node.image)).first;
    if (!found->second.isNull()) return found->second;
  }
  if (node.click.kind == workspace::TTreeActionKind::ShowBasicPage ||
      node.click.kind == workspace::TTreeActionKind::ShowAssemblerPage)
    return style.standardIcon(QStyle::SP_FileDialogDetailedView);
  return style.standardIcon(QStyle::SP_DirIcon);
}

}  // namespace zarvek::ui
