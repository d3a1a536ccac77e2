#include "driver/WindowsArguments.h"

#ifdef _WIN32

#include <windows.h>
// Needs the types that windows.h declares first.
#include <shellapi.h>

namespace kel::rez {

bool wideToUtf8(const wchar_t* wide, std::string& utf8)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    std::string converted(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, converted.data(), size, nullptr, nullptr)
        != size) {
        return false;
    }
    converted.pop_back();  // the terminating zero the call counted
    utf8 = std::move(converted);
    return true;
}

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
        converted = wideToUtf8(wideArguments[index], arguments[static_cast<size_t>(index)]);
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
