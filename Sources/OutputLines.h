// The lines one resource contributes to the header, IDtoFile.txt, the .r and the .rc texts.
// Each function only appends to the text it is given and cannot fail.
#ifndef VANTREL_OUTPUT_LINES_H
#define VANTREL_OUTPUT_LINES_H

#include <string>

#include "Resource.h"

namespace kel::rez {

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
