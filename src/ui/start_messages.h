#pragma once
// The viewer's start-up message when its settings cannot be loaded, in the
// chosen language, naming the file and the token at fault, as the operator has to mend them.

#include <QString>

#include "geo/settings.h"

namespace kalvera {

QString StartErrorText(const SettingsFailure& failure);

// The cause of a failed file access (an errno value) in a few words.
QString FileErrorText(int cause);

}  // namespace kalvera
