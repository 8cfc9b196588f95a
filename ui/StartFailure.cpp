// Stand-in until this subsystem is built.
#include "ui/StartFailure.h"
int ShowStartFailure() { return 1; }
