// A record window that reaches into the shell in every form an include can
// take: the layer check must refuse each of them.
// clang-format off
#include "shell/formvelmorand.h"
#include <shell/windowmanager.h>
  #include "shell/reminders.h"
# include "shell/program.h"
// clang-format on
