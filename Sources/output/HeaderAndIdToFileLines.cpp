// The lines one resource contributes to the C header (NAME_ID, NAME_NAME and NAME_FILE
// macros) and to IDtoFile.txt ("<key>.<extension> <file>", keyed by ID and by name).
#include "output/HeaderAndIdToFileLines.h"

#include "output/OutputText.h"

namespace kel::rez {

namespace {

void __appendDefine(const std::string& define, std::string_view macroSuffix, ChunkedAppender& lines)
{
    lines.append("#define ");
    lines.append(define);
    lines.append(macroSuffix);
}

/// What follows a line's key: "." and the extension (unless left out), a space and the file.
void __appendIdToFileLineEnd(const std::string_view* extension, const std::string& file,
                             ChunkedAppender& lines)
{
    if (extension) {
        lines.append('.');
        lines.append(*extension);
    }
    lines.append(' ');
    lines.append(file);
    lines.append('\n');
}

}  // namespace

void appendHeaderLines(const Resource& resource, const ResourceSpellings& spellings,
                       StreamedText& headerText)
{
    // Names and paths are C strings: their quotes and backslashes are escaped.
    ChunkedAppender lines(headerText);
    __appendDefine(resource.define, "_ID\t", lines);
    lines.append(spellings.id);
    lines.append('\n');
    if (!resource.name.empty()) {
        __appendDefine(resource.define, "_NAME\t", lines);
        appendQuotedString(resource.name, lines);
        lines.append('\n');
    }
    if (!resource.file.empty()) {
        __appendDefine(resource.define, "_FILE\t", lines);
        lines.append(spellings.quotedFile);
        lines.append('\n');
    }
}

void appendIdToFileLines(const Resource& resource, const ResourceSpellings& spellings,
                         StreamedText& idToFileText)
{
    const std::string_view extension = spellings.traits->idToFileExtension;
    ChunkedAppender lines(idToFileText);
    lines.append(spellings.id);
    __appendIdToFileLineEnd(&extension, resource.file, lines);
    if (resource.name.empty())
        return;
    // A name that already ends with the type (not the extension) is the key alone.
    const bool keepNameAlone = nameEndsWith(resource.name, resource.type);
    lines.append(resource.name);
    __appendIdToFileLineEnd(keepNameAlone ? nullptr : &extension, resource.file, lines);
}

}  // namespace kel::rez
