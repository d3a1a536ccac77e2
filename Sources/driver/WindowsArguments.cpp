#include "driver/WindowsArguments.h"

#ifdef _WIN32

#include "kelutilsWideText.h"

#include <windows.h>
// Needs the types that windows.h declares first.
#include <shellapi.h>

namespace kel::rez {

std::vector<std::string> utf8CommandLineArguments()
{
    int count = 0;
    wchar_t** wideArguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wideArguments == nullptr) {
        return {};
    }
    std::vector<std::string> arguments(static_cast<size_t>(count));
    bool converted = true;
    for (int index = 0; index < count && converted; ++index) {
        converted = utils::wideToUtf8(wideArguments[index], arguments[static_cast<size_t>(index)]);
    }
    LocalFree(wideArguments);
    if (!converted) {
        return {};
    }
    return arguments;
}

std::vector<char*> argumentPointers(std::vector<std::string>& arguments)
{
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace kel::rez

#endif  // _WIN32
