// What the platforms' file-system calls share: how paths divide into folder and name.
#include "kelutilsNativeFiles.h"

namespace kel::utils {

namespace {

bool __isSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

}  // namespace

std::string __folderPrefix(const std::string& path)
{
    std::size_t end = path.size();
    while (end > 0 && !__isSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

}  // namespace kel::utils
