// A record window that reaches into the shell: the layer check must refuse it.
#include "shell/formvelmorand.h"
