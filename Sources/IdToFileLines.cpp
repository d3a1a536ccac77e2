// IDtoFile.txt lines: "<key>.<extension> <file>", keyed by ID and by name.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

std::string extensionOf(const std::string& type)
{
    if (type == resourceTypePNGI)
        return "png";
    if (type == resourceTypeSVG)
        return "svg";
    return type;
}

/// A name that already ends with the type (not the extension) is used as the key alone.
bool nameEndsWithType(const std::string& name, const std::string& type)
{
    return name.size() > type.size() &&
           name.compare(name.size() - type.size(), type.size(), type) == 0;
}

}  // namespace

void appendIdToFileLines(const Resource& resource, std::string& idToFileText)
{
    const std::string suffix = "." + extensionOf(resource.type);
    idToFileText += kel::utils::itoa(resource.id) + suffix + " " + resource.file + "\n";
    if (resource.name.empty())
        return;
    const bool keepNameAlone = nameEndsWithType(resource.name, resource.type);
    idToFileText += resource.name + (keepNameAlone ? "" : suffix) + " " + resource.file + "\n";
}

}  // namespace kel::rez
