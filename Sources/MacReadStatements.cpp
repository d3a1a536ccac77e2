// Rez "read" statements that pull a resource from a file.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

void appendMacReadStatement(const Resource& resource, std::string& macText)
{
    // The Mac side knows SVG resources as "SVG_"; every other output keeps "SVG".
    const std::string type = resource.type == resourceTypeSVG ? "SVG_" : resource.type;
    macText += "read '" + type + "' (" + kel::utils::itoa(resource.id);
    if (resource.name.empty())
        macText += ") ";
    else
        macText += ", \"" + kel::utils::stringReplaceAll(resource.name, "\"", "\\\"") + "\") ";
    macText += "\"" + resource.file + "\";\n";
}

}  // namespace kel::rez
