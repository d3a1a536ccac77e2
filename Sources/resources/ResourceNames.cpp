// Names derived from file paths, for resources given by file without a "name".
#include "resources/ResourceNames.h"

namespace kel::rez {

namespace {

/// The text after the last "/", or after the last "\" when the path holds no "/" at all;
/// the whole path when it holds neither.
std::string lastPathPiece(const std::string& file)
{
    std::size_t separator = file.rfind('/');
    if (separator == std::string::npos)
        separator = file.rfind('\\');
    if (separator == std::string::npos)
        return file;
    return file.substr(separator + 1);
}

}  // namespace

std::string nameFromFilePath(const std::string& file)
{
    std::string piece = lastPathPiece(file);
    // A leading dot (".hidden") is part of the name, not an extension.
    const std::size_t firstDot = piece.find('.');
    if (firstDot == std::string::npos || firstDot == 0)
        return piece;
    piece.erase(piece.rfind('.'));
    return piece;
}

}  // namespace kel::rez
