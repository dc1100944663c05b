#pragma once

#include <QIcon>

// The program's own icon, at the sizes it is drawn at.
QIcon ProgramIcon();
