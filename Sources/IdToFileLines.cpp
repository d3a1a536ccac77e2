// IDtoFile.txt lines: "<key>.<extension> <file>", keyed by ID and by name.
#include "OutputLines.h"

namespace kel::rez {

namespace {

const std::string& extensionOf(const std::string& type)
{
    static const std::string png = "png";
    static const std::string svg = "svg";
    if (type == resourceTypePNGI)
        return png;
    if (type == resourceTypeSVG)
        return svg;
    return type;
}

/// What follows a line's key: "." and the extension (unless null), a space and the file.
void appendLineEnd(const std::string* extension, const std::string& file, std::string& idToFileText)
{
    if (extension) {
        idToFileText += '.';
        idToFileText += *extension;
    }
    idToFileText += ' ';
    idToFileText += file;
    idToFileText += '\n';
}

}  // namespace

void appendIdToFileLines(const Resource& resource, std::string& idToFileText)
{
    const std::string& extension = extensionOf(resource.type);
    appendId(resource.id, idToFileText);
    appendLineEnd(&extension, resource.file, idToFileText);
    if (resource.name.empty())
        return;
    // A name that already ends with the type (not the extension) is the key alone.
    const bool keepNameAlone = nameEndsWith(resource.name, resource.type);
    idToFileText += resource.name;
    appendLineEnd(keepNameAlone ? nullptr : &extension, resource.file, idToFileText);
}

}  // namespace kel::rez
