// The pictures of the simulation objects, drawn with vector shapes so that they stay
// sharp at any display scaling. A picture is kObjectPictureSize logical pixels square.
#pragma once

#include <QRect>

class QPainter;

namespace zarvek::ui {

inline constexpr int kObjectPictureSize = 32;

// picture: the object's picture index (LEDs 0-2 dark, 3-5 lit; 6 released, 7 pressed;
// 8 wheel; 10 gauge; 100 variable display); type tells a switch from an interrupt button.
void DrawObjectPicture(QPainter& painter, const QRect& box, int type, int picture);

}  // namespace zarvek::ui
