#include "driver/Driver.h"

#ifdef _WIN32
#include "driver/WindowsArguments.h"
#include "kelutilsWinDebug.h"
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The debugger stream lives from start-up to exit in every Windows run, though nothing
    // here writes to it. Reading its address through a volatile keeps the reference, and so
    // keeps the linker from leaving the stream out of the static library.
    static std::ostream* volatile debugStream = &kel::utils::winDebugStream;
    static_cast<void>(debugStream);

    std::vector<std::string> arguments = kel::rez::utf8CommandLineArguments();
    if (!arguments.empty()) {
        std::vector<char*> pointers = kel::rez::argumentPointers(arguments);
        return kel::rez::runTool(static_cast<int>(arguments.size()), pointers.data());
    }
#endif
    return kel::rez::runTool(argc, argv);
}
