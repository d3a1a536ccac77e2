// placeholder until implemented
#include "Driver.h"
namespace kel::rez { int runTool(int, char**) { return 0; } }
