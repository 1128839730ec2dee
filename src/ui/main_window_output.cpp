// Printing and saving the picture.

#include "ui/main_window.h"

namespace kalvera {

void TForm1::printButtonClick() {}
void TForm1::saveButtonClick() {}

}  // namespace kalvera
