// UTF-16 to UTF-8 through WideCharToMultiByte.
#include "kelutilsWideText.h"

#ifdef _WIN32

#include <utility>

#include <windows.h>

namespace kel::utils {

bool wideToUtf8(const wchar_t* wide, std::string& utf8)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    std::string converted(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, converted.data(), size, nullptr, nullptr) != size)
        return false;
    converted.pop_back();  // the terminating zero the call counted
    utf8 = std::move(converted);
    return true;
}

}  // namespace kel::utils

#endif  // _WIN32
