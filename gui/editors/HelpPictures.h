// Sketches shown under a table in its editor, explaining what the columns
// measure: the pressure sketch (depth and distributed load on the wall) and
// the spring and tieback sketch (supports along the wall).  Tables name
// their sketch; an empty or unknown name shows nothing.
#pragma once

#include <QSize>

#include <string>

class QPainter;
class QRect;
class QPixmap;

namespace ramvex {

inline constexpr char kPressureSketch[] = "PressureSketch";
inline constexpr char kSpringTiebackSketch[] = "SpringTiebackSketch";

// Whether a name is one of the sketches.
bool HasHelpPicture(const std::string& name);

// Natural size of a sketch; empty for no sketch.
QSize HelpPictureSize(const std::string& name);

// Paints the named sketch into rect.
void DrawHelpPicture(QPainter& painter, const QRect& rect, const std::string& name);

// The sketch at its natural size; a null pixmap for no sketch.
QPixmap HelpPicturePixmap(const std::string& name);

}  // namespace ramvex
