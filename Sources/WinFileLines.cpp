// Resource-script lines that pull a resource from a file.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

void appendFileLine(const std::string& key, const std::string& type, const std::string& file,
                    std::string& winText)
{
    winText += key;
    winText += ' ';
    winText += type;
    winText += " \"";
    winText += file;
    winText += "\"\n";
}

}  // namespace

void appendWinFileLines(const Resource& resource, std::string& winText)
{
    // SVG files are also listed as "SVG_", the type the Mac side uses for them.
    const bool isSvg = resource.type == resourceTypeSVG;
    const std::string idKey = kel::utils::itoa(resource.id);
    appendFileLine(idKey, resource.type, resource.file, winText);
    if (isSvg)
        appendFileLine(idKey, "SVG_", resource.file, winText);
    if (resource.name.empty())
        return;
    // Unlike the .r text, a quote inside the name is copied unescaped.
    const std::string nameKey = "\"" + resource.name + "\"";
    appendFileLine(nameKey, resource.type, resource.file, winText);
    if (isSvg)
        appendFileLine(nameKey, "SVG_", resource.file, winText);
}

}  // namespace kel::rez
