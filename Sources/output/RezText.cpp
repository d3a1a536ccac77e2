// The Mac Rez text: "read" statements that pull a resource from a file, and "data"
// statements that carry hex data, 32 digits a line in groups of four.
#include "output/RezText.h"

#include <algorithm>

#include "kelutilsStrings.h"
#include "common/HexEncoding.h"
#include "output/OutputText.h"
#include "resources/ResourceType.h"

namespace kel::rez {

namespace {

constexpr std::size_t __digitsPerLine = 32;
constexpr std::size_t __digitsPerGroup = 4;
constexpr char __firstLineOpening[] = "\n\t$\"";
/// Closes the line before and opens the next one.
constexpr char __nextLineOpening[] = "\"\n\t$\"";

/// The data lines of a Rez statement: 32 digits a line in groups of 4, each line opened by
/// a tab, "$" and a quote, each but the last closed here.
void __appendRezDataLines(const std::string& hexData, std::string& out)
{
    const char* digits = hexData.data();
    const std::size_t size = hexData.size();
    for (std::size_t group = 0; group < size; group += __digitsPerGroup) {
        if (group == 0)
            out.append(__firstLineOpening, sizeof __firstLineOpening - 1);
        else if (group % __digitsPerLine == 0)
            out.append(__nextLineOpening, sizeof __nextLineOpening - 1);
        else
            out += ' ';
        out.append(digits + group, std::min(__digitsPerGroup, size - group));
    }
}

/// The inside of a Rez resource header: the ID and, for a named resource, the name as a
/// Rez string (12345, "My_Image").
void __appendRezIdAndName(const Resource& resource, std::string& macText)
{
    appendId(resource.id, macText);
    if (resource.name.empty())
        return;
    macText += ", ";
    appendQuotedString(resource.name, macText);
}

}  // namespace

void appendMacReadStatement(const Resource& resource, std::string& macText)
{
    macText += "read '";
    macText += resourceTypeTraits(resource.type).macFileType;
    macText += "' (";
    __appendRezIdAndName(resource, macText);
    macText += ") ";
    appendQuotedString(resource.file, macText);
    macText += ";\n";
}

bool __processByteStrMac(const Resource& resource, const std::string& hexData, std::string& out)
{
    // Checked before anything is appended, so a failure leaves out as it was.
    const std::size_t bad = firstNonHexDigit(hexData);
    if (bad != hexData.size())
        return reportBadHexData(resource, hexData[bad]);

    // Each line adds its opening and a closing quote to the digits and spaces.
    const std::size_t lines = hexData.size() / __digitsPerLine + 1;
    out.reserve(out.size() + 2 * resource.name.size() + resource.type.size() + 32 + hexData.size()
                + hexData.size() / __digitsPerGroup + lines * (sizeof __nextLineOpening - 1));
    out += "data '";
    out += resource.type;
    out += "' (";
    __appendRezIdAndName(resource, out);
    out += ") {";
    __appendRezDataLines(hexData, out);
    out += "\"\n};\n\n";
    return true;
}

}  // namespace kel::rez
