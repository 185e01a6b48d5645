// Pictures of the tool buttons and of the program, drawn by the program
// itself so that they stay sharp at every screen scale.
#pragma once

#include <QIcon>

#include "MainCommands.h"

namespace ramvex {

// Empty icon for a command without a tool button.
QIcon CommandIcon(TCommand command);
QIcon ApplicationIcon();

}  // namespace ramvex
