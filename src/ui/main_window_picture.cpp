// Mouse readout, pan, legend colour and the filter, scale and layer controls.

#include "ui/main_window.h"

namespace kalvera {

void TForm1::FormMouseMove(int /*x*/, int /*y*/) {}
void TForm1::FormMouseDown(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {}
void TForm1::FormMouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {}
void TForm1::FormDblClick() {}
void TForm1::filterScrollBarChange() {}
void TForm1::scaleScrollBarChange() {}
void TForm1::layerListBoxClick() {}
void TForm1::layerListBoxKeyPress(QChar /*key*/) {}

}  // namespace kalvera
