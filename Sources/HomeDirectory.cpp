#include "HomeDirectory.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
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
    char profile[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(NULL, CSIDL_PROFILE, NULL, 0, profile)))
        return profile;
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
    if (const char* home = std::getenv("HOME"))
        return home;
    return __systemHomeDirectory();
}

void expandLeadingTilde(std::optional<std::string>& path, const std::string& home)
{
    if (!path || path->empty() || (*path)[0] != '~' || home.empty())
        return;
    path = home + path->substr(1);
}

}  // namespace kel::rez
