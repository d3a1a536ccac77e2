// Names derived from file paths, for resources given by file without a "name".
#include "resources/ResourceNames.h"

namespace kel::rez {

std::string nameFromFilePath(const std::string& file)
{
    // The last piece: after the last "/", or after the last "\" when the path holds no "/"
    // at all; the whole path when it holds neither.
    std::size_t separator = file.rfind('/');
    if (separator == std::string::npos)
        separator = file.rfind('\\');
    const std::size_t start = separator == std::string::npos ? 0 : separator + 1;
    // A leading dot (".hidden") is part of the name, not an extension.
    const std::size_t firstDot = file.find('.', start);
    if (firstDot == std::string::npos || firstDot == start)
        return file.substr(start);
    return file.substr(start, file.rfind('.') - start);
}

}  // namespace kel::rez
