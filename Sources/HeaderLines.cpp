// C header lines: NAME_ID, NAME_NAME and NAME_FILE macros of one resource.
#include "OutputLines.h"

#include "kelutilsStrings.h"

namespace kel::rez {

void appendHeaderLines(const Resource& resource, std::string& headerText)
{
    // Names and paths are copied as they are; quotes in them are not escaped.
    headerText += "#define " + resource.define + "_ID\t" + kel::utils::itoa(resource.id) + "\n";
    if (!resource.name.empty())
        headerText += "#define " + resource.define + "_NAME\t\"" + resource.name + "\"\n";
    if (!resource.file.empty())
        headerText += "#define " + resource.define + "_FILE\t\"" + resource.file + "\"\n";
}

}  // namespace kel::rez
