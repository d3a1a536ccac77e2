// Resource-script lines that pull a resource from a file.
#include "OutputLines.h"

namespace kel::rez {

namespace {

/// What follows a line's key: the type and the quoted file.
void appendLineEnd(const std::string& type, const std::string& file, std::string& winText)
{
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
    static const std::string svgUnderscore = "SVG_";
    appendId(resource.id, winText);
    appendLineEnd(resource.type, resource.file, winText);
    if (isSvg) {
        appendId(resource.id, winText);
        appendLineEnd(svgUnderscore, resource.file, winText);
    }
    if (resource.name.empty())
        return;
    // Unlike the .r text, a quote inside the name is copied unescaped.
    auto appendNameKey = [&] {
        winText += '"';
        winText += resource.name;
        winText += '"';
    };
    appendNameKey();
    appendLineEnd(resource.type, resource.file, winText);
    if (isSvg) {
        appendNameKey();
        appendLineEnd(svgUnderscore, resource.file, winText);
    }
}

}  // namespace kel::rez
