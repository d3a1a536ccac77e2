// Rez "read" statements that pull a resource from a file, and the resource header that
// they share with the Rez "data" statements.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

void appendRezIdAndName(const Resource& resource, std::string& macText)
{
    macText += kel::utils::itoa(resource.id);
    if (!resource.name.empty()) {
        macText += ", \"";
        macText += kel::utils::stringReplaceAll(resource.name, "\"", "\\\"");
        macText += '"';
    }
}

void appendMacReadStatement(const Resource& resource, std::string& macText)
{
    // The Mac side knows SVG resources as "SVG_"; every other output keeps "SVG".
    macText += "read '";
    macText += resource.type == resourceTypeSVG ? std::string("SVG_") : resource.type;
    macText += "' (";
    appendRezIdAndName(resource, macText);
    macText += ") \"";
    macText += resource.file;
    macText += "\";\n";
}

}  // namespace kel::rez
