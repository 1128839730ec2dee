#pragma once
// The pictures on the print and save buttons, drawn rather than shipped.

#include <QIcon>

namespace kalvera {

QIcon PrintGlyph();
QIcon SaveGlyph();

}  // namespace kalvera
