// The lines one resource contributes to the C header and to IDtoFile.txt. Each function only
// appends to the text it is given and cannot fail; each puts its lines together in a
// buffer of its own and appends them at once.
#ifndef VANTREL_HEADER_AND_ID_TO_FILE_LINES_H
#define VANTREL_HEADER_AND_ID_TO_FILE_LINES_H

#include <string>

#include "output/ResourceSpellings.h"
#include "output/StreamedText.h"
#include "resources/Resource.h"

namespace kel::rez {

/// "#define" lines for the ID, the name and the file, as spelled; the caller checks that
/// define is set.
void appendHeaderLines(const Resource& resource, const ResourceSpellings& spellings,
                       StreamedText& headerText);

/// The line keyed by ID and, for a named resource, the line keyed by name (file resources),
/// as spelled.
void appendIdToFileLines(const Resource& resource, const ResourceSpellings& spellings,
                         StreamedText& idToFileText);

}  // namespace kel::rez

#endif
