#pragma once

#include <QIcon>

// The program's own icon, at the sizes it is drawn at.
QIcon ProgramIcon();
// The same with a red bell-dot in its corner: an alarm rings.
QIcon RingingIcon();
