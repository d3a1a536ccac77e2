#include "output/CompiledResources.h"

#include "common/ExitStatus.h"
#include "kelutilsFiles.h"
#include "kelutilsStrings.h"
#include "common/HexEncoding.h"
#include "output/OutputText.h"

namespace kel::rez {

namespace {

using __Bytes = std::shared_ptr<const std::string>;

/// The resource under each key the .r and the .rc give it: Mac by ID with its name; Windows
/// by ID, and by name when it has one, under each of its script types.
void __addUnderEveryKey(const Resource& resource, const std::string& macType,
                        const std::vector<std::string>& winTypes, const __Bytes& bytes,
                        CompiledOutputs& outputs)
{
    if (outputs.mac)
        outputs.macResources.push_back({macType, resource.id, resource.name, false, bytes});
    if (!outputs.windows)
        return;
    for (const std::string& type : winTypes)
        outputs.winResources.push_back({type, resource.id, "", false, bytes});
    if (!resource.name.empty())
        for (const std::string& type : winTypes)
            outputs.winResources.push_back({type, resource.id, resource.name, true, bytes});
}

int __cannotRead(const Resource& resource)
{
    return failWith(statusResourceFileUnreadable,
                    "cannot read the file " + resource.file + " of the " + resource.type
                        + " resource at array index " + std::to_string(resource.entryIndex));
}

/// The bytes of hex text; false with badChar set at the first non-digit ('\0' for a lone
/// last digit, which no compiled file can hold).
bool __decodeHex(const std::string& hex, std::string& bytes, char& badChar)
{
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        const int high = __hexDigitValue(hex[i]);
        const int low = __hexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            badChar = hex[high < 0 ? i : i + 1];
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    badChar = '\0';
    return hex.size() % 2 == 0;
}

/// The bytes of each Rez data statement of text, in order: the hex digits of its $"..."
/// lines. The first statement's header, which may quote a name holding anything, is
/// firstHeaderLength bytes long; the later ones carry no name.
std::vector<std::string> __rezStatementBytes(const std::string& text, std::size_t firstHeaderLength)
{
    std::vector<std::string> statements;
    std::size_t at = firstHeaderLength;
    while (at < text.size()) {
        const std::size_t end = text.find("\n};\n", at);
        std::string hex;
        for (std::size_t line = text.find("$\"", at); line < end; line = text.find("$\"", line)) {
            const std::size_t close = text.find('"', line + 2);
            for (std::size_t i = line + 2; i < close; ++i)
                if (text[i] != ' ')
                    hex += text[i];
            line = close + 1;
        }
        std::string bytes;
        char badChar = '\0';
        __decodeHex(hex, bytes, badChar);
        statements.push_back(std::move(bytes));
        at = text.find(") {", end);
    }
    return statements;
}

/// The length of the header "data 'PiPL' (16000, \"Name\") {" of the resource's statement.
std::size_t __rezHeaderLength(const Resource& resource)
{
    std::size_t length = std::string("data '' () {").size() + resource.type.size()
                         + kel::utils::itoa(resource.id).size();
    if (!resource.name.empty())
        length += std::string(", \"\"").size()
                  + kel::utils::stringReplaceAll(resource.name, "\"", "\\\"").size();
    return length;
}

/// The bytes of each .rc raw-data block of text, in order: its octal escapes.
std::vector<std::string> __scriptBlockBytes(const std::string& text)
{
    std::vector<std::string> blocks;
    std::size_t at = 0;
    const std::string opening = " {\n\t\"";
    while ((at = text.find(opening, at)) != std::string::npos) {
        std::size_t i = at + opening.size();
        std::string bytes;
        while (text[i] == '\\') {
            int value = 0;
            for (++i; text[i] >= '0' && text[i] <= '7'; ++i)
                value = value * 8 + (text[i] - '0');
            bytes += static_cast<char>(value);
        }
        blocks.push_back(std::move(bytes));
        at = i;
    }
    return blocks;
}

}  // namespace

int addCompiledResource(const Resource& resource, CompiledOutputs& outputs)
{
    if (!outputs.mac && !outputs.windows)
        return statusSuccess;
    auto bytes = std::make_shared<std::string>();
    if (!resource.file.empty()) {
        if (!kel::utils::getBinaryFileContents(resource.file, *bytes))
            return __cannotRead(resource);
        // The Mac side knows SVG files as "SVG_"; the script lists them under both types.
        const bool isSvg = resource.type == resourceTypeSVG;
        __addUnderEveryKey(resource, isSvg ? resourceTypeMacSVG : resource.type,
                           isSvg ? std::vector<std::string>{resource.type, resourceTypeMacSVG}
                                 : std::vector<std::string>{resource.type},
                           bytes, outputs);
        return statusSuccess;
    }
    char badChar = '\0';
    if (!__decodeHex(resource.data, *bytes, badChar)) {
        reportBadHexData(resource, badChar);
        return statusBadHexData;
    }
    __addUnderEveryKey(resource, resource.type, {resource.type}, bytes, outputs);
    return statusSuccess;
}

void addCompiledPiplResources(const Resource& resource, const std::string& macStatements,
                              const std::string& winBlocks, CompiledOutputs& outputs)
{
    // The property list comes first, then the terminology resource of a Photoshop plug-in.
    // Both are keyed by ID in the script, as the list's IDs are never 0.
    const std::vector<std::string> mac = __rezStatementBytes(macStatements, __rezHeaderLength(resource));
    const std::vector<std::string> win = __scriptBlockBytes(winBlocks);
    for (std::size_t i = 0; i < mac.size() && i < win.size(); ++i) {
        const bool isList = i == 0;
        CompiledResource compiled{isList ? resource.type : resourceTypeAETE,
                                  isList ? resource.id : std::int16_t(1000),
                                  isList ? resource.name : "", false, nullptr};
        if (outputs.mac) {
            compiled.bytes = std::make_shared<std::string>(mac[i]);
            outputs.macResources.push_back(compiled);
        }
        if (outputs.windows) {
            compiled.name.clear();
            compiled.bytes = std::make_shared<std::string>(win[i]);
            outputs.winResources.push_back(compiled);
        }
    }
}

}  // namespace kel::rez
