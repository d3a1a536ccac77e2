// The lines one resource contributes to the header, IDtoFile.txt, the .r and the .rc texts.
// Each function only appends to the text it is given and cannot fail.
#ifndef VANTREL_OUTPUT_LINES_H
#define VANTREL_OUTPUT_LINES_H

#include <charconv>
#include <string>

#include "Resource.h"

namespace kel::rez {

/// The ID in decimal, as kel::utils::itoa writes it, without a temporary string: the output
/// pass writes an ID several times for each of tens of thousands of resources.
inline void appendId(std::int16_t id, std::string& text)
{
    char digits[8];
    const auto written = std::to_chars(digits, digits + sizeof digits, id);
    text.append(digits, written.ptr);
}

/// "#define" lines for the ID, the name and the file; the caller checks that define is set.
void appendHeaderLines(const Resource& resource, std::string& headerText);

/// The line keyed by ID and, for a named resource, the line keyed by name (file resources).
void appendIdToFileLines(const Resource& resource, std::string& idToFileText);

/// The inside of a Rez resource header: the ID and, for a named resource, the name quoted
/// with its double quotes escaped (12345, "My_Image").
void appendRezIdAndName(const Resource& resource, std::string& macText);

/// The Rez "read" statement of a file resource.
void appendMacReadStatement(const Resource& resource, std::string& macText);

/// The resource-script lines of a file resource, keyed by ID and by quoted name.
void appendWinFileLines(const Resource& resource, std::string& winText);

}  // namespace kel::rez

#endif
