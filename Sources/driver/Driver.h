// The whole run: command line, input, the phases of Pipeline.h, then the output files.
#ifndef VANTREL_DRIVER_H
#define VANTREL_DRIVER_H

namespace kel::rez {

/// The program's exit status.
int runTool(int argc, char** argv);

}  // namespace kel::rez

#endif
