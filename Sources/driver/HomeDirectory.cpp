#include "driver/HomeDirectory.h"

#include <cstdlib>

#ifdef _WIN32
#include "kelutilsWideText.h"
#include <windows.h>
// Needs the types that windows.h declares first.
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace kel::rez {

namespace {

// The fallback used when HOME is not set; "" when the system has no answer either.
std::string __systemHomeDirectory()
{
#ifdef _WIN32
    // Asked for in UTF-16 and handed on in UTF-8, the form every path of the program is in;
    // the ANSI answer would garble a profile folder with non-ASCII characters.
    wchar_t profile[MAX_PATH] = {};
    std::string utf8;
    if (SUCCEEDED(SHGetFolderPathW(NULL, CSIDL_PROFILE, NULL, 0, profile))
        && utils::wideToUtf8(profile, utf8))
        return utf8;
#else
    const passwd* entry = getpwuid(getuid());
    if (entry && entry->pw_dir)
        return entry->pw_dir;
#endif
    return "";
}

}  // namespace

std::string findHomeDirectory()
{
#ifdef _WIN32
    // getenv would answer in the ANSI code page; the wide variable converts to UTF-8 whole.
    std::string utf8;
    if (const wchar_t* home = _wgetenv(L"HOME"); home && utils::wideToUtf8(home, utf8))
        return utf8;
#else
    if (const char* home = std::getenv("HOME"))
        return home;
#endif
    return __systemHomeDirectory();
}

void expandLeadingTilde(std::optional<std::string>& path, const std::string& home)
{
    if (!path || path->empty() || (*path)[0] != '~' || home.empty())
        return;
    path = home + path->substr(1);
}

}  // namespace kel::rez
