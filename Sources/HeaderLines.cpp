// C header lines: NAME_ID, NAME_NAME and NAME_FILE macros of one resource.
#include "OutputLines.h"

namespace kel::rez {

namespace {

void appendDefine(const std::string& define, const char* macroSuffix, std::string& headerText)
{
    headerText += "#define ";
    headerText += define;
    headerText += macroSuffix;
}

void appendQuoted(const std::string& text, std::string& headerText)
{
    headerText += '"';
    headerText += text;
    headerText += "\"\n";
}

}  // namespace

void appendHeaderLines(const Resource& resource, std::string& headerText)
{
    // Names and paths are copied as they are; quotes in them are not escaped.
    appendDefine(resource.define, "_ID\t", headerText);
    appendId(resource.id, headerText);
    headerText += '\n';
    if (!resource.name.empty()) {
        appendDefine(resource.define, "_NAME\t", headerText);
        appendQuoted(resource.name, headerText);
    }
    if (!resource.file.empty()) {
        appendDefine(resource.define, "_FILE\t", headerText);
        appendQuoted(resource.file, headerText);
    }
}

}  // namespace kel::rez
