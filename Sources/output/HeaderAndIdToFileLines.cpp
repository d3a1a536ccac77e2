// The lines one resource contributes to the C header (NAME_ID, NAME_NAME and NAME_FILE
// macros) and to IDtoFile.txt ("<key>.<extension> <file>", keyed by ID and by name).
#include "output/HeaderAndIdToFileLines.h"

#include "output/OutputText.h"

namespace kel::rez {

namespace {

void __appendDefine(const std::string& define, const char* macroSuffix, std::string& headerText)
{
    headerText += "#define ";
    headerText += define;
    headerText += macroSuffix;
}

void __appendQuoted(const std::string& text, std::string& headerText)
{
    appendQuotedString(text, headerText);
    headerText += '\n';
}

/// What follows a line's key: "." and the extension (unless left out), a space and the file.
void __appendIdToFileLineEnd(const std::string_view* extension, const std::string& file,
                             std::string& idToFileText)
{
    if (extension) {
        idToFileText += '.';
        idToFileText += *extension;
    }
    idToFileText += ' ';
    idToFileText += file;
    idToFileText += '\n';
}

}  // namespace

void appendHeaderLines(const Resource& resource, const ResourceSpellings& spellings,
                       std::string& headerText)
{
    // Names and paths are C strings: their quotes and backslashes are escaped.
    __appendDefine(resource.define, "_ID\t", headerText);
    headerText += spellings.id;
    headerText += '\n';
    if (!resource.name.empty()) {
        __appendDefine(resource.define, "_NAME\t", headerText);
        __appendQuoted(resource.name, headerText);
    }
    if (!resource.file.empty()) {
        __appendDefine(resource.define, "_FILE\t", headerText);
        headerText += spellings.quotedFile;
        headerText += '\n';
    }
}

void appendIdToFileLines(const Resource& resource, const ResourceSpellings& spellings,
                         std::string& idToFileText)
{
    const std::string_view extension = spellings.traits->idToFileExtension;
    idToFileText += spellings.id;
    __appendIdToFileLineEnd(&extension, resource.file, idToFileText);
    if (resource.name.empty())
        return;
    // A name that already ends with the type (not the extension) is the key alone.
    const bool keepNameAlone = nameEndsWith(resource.name, resource.type);
    idToFileText += resource.name;
    __appendIdToFileLineEnd(keepNameAlone ? nullptr : &extension, resource.file, idToFileText);
}

}  // namespace kel::rez
