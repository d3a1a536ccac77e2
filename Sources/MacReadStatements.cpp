// Rez "read" statements that pull a resource from a file, and the resource header that
// they share with the Rez "data" statements.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

void appendRezIdAndName(const Resource& resource, std::string& macText)
{
    appendId(resource.id, macText);
    if (resource.name.empty())
        return;
    macText += ", \"";
    if (resource.name.find('"') == std::string::npos)
        macText += resource.name;  // the usual case, without an escaped copy
    else
        macText += kel::utils::stringReplaceAll(resource.name, "\"", "\\\"");
    macText += '"';
}

void appendMacReadStatement(const Resource& resource, std::string& macText)
{
    // The Mac side knows SVG resources as "SVG_"; every other output keeps "SVG".
    macText += "read '";
    if (resource.type == resourceTypeSVG)
        macText += "SVG_";
    else
        macText += resource.type;
    macText += "' (";
    appendRezIdAndName(resource, macText);
    macText += ") \"";
    macText += resource.file;
    macText += "\";\n";
}

}  // namespace kel::rez
