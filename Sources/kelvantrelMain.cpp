#include "Driver.h"

#ifdef _WIN32
#include "WindowsArguments.h"
#include "kelutilsWinDebug.h"
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The debugger stream lives from start-up to exit in every Windows run; naming it here
    // keeps the linker from dropping it out of the static library.
    static_cast<void>(&kel::utils::winDebugStream);

    std::vector<std::string> arguments = kel::rez::utf8CommandLineArguments();
    if (!arguments.empty()) {
        std::vector<char*> pointers = kel::rez::argumentPointers(arguments);
        return kel::rez::runTool(static_cast<int>(arguments.size()), pointers.data());
    }
#endif
    return kel::rez::runTool(argc, argv);
}
