#include "output/CompiledResources.h"

#include "common/ExitStatus.h"
#include "common/HexEncoding.h"
#include "kelutilsFiles.h"
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

int __cannotRead(const Resource& resource, Diagnostics& diagnostics)
{
    return diagnostics.failWith(statusResourceFileUnreadable,
                                "cannot read the file " + resource.file + " of the " + resource.type
                                    + " resource at array index "
                                    + std::to_string(resource.entryIndex),
                                resourcePlace(resource, {"file"}));
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

/// The compiler's bytes, shared by the keys they go under.
__Bytes __sharedBytes(const HexBytes& data)
{
    return std::make_shared<std::string>(data.bytes.begin(), data.bytes.end());
}

}  // namespace

int addCompiledResource(const Resource& resource, const ResourceTypeTraits& traits,
                        CompiledOutputs& outputs, Diagnostics& diagnostics)
{
    if (!outputs.mac && !outputs.windows)
        return statusSuccess;
    auto bytes = std::make_shared<std::string>();
    if (!resource.file.empty()) {
        if (!kel::utils::getBinaryFileContents(resource.file, *bytes))
            return __cannotRead(resource, diagnostics);
        // Under the types the .r and the .rc give it.
        std::vector<std::string> winTypes{resource.type};
        if (!traits.extraWinFileType.empty())
            winTypes.emplace_back(traits.extraWinFileType);
        __addUnderEveryKey(resource, std::string(traits.macFileType), winTypes, bytes, outputs);
        return statusSuccess;
    }
    char badChar = '\0';
    if (!__decodeHex(resource.data, *bytes, badChar)) {
        reportBadHexData(resource, badChar, diagnostics);
        return statusBadHexData;
    }
    __addUnderEveryKey(resource, resource.type, {resource.type}, bytes, outputs);
    return statusSuccess;
}

void addCompiledPiplResources(const Resource& resource, const CompiledPipl& compiled,
                              CompiledOutputs& outputs)
{
    // Both are keyed by ID in the script, as the list's IDs are never 0.
    if (outputs.mac)
        outputs.macResources.push_back({resource.type, resource.id, resource.name, false,
                                        __sharedBytes(compiled.macList)});
    if (outputs.windows)
        outputs.winResources.push_back({resource.type, resource.id, "", false,
                                        __sharedBytes(compiled.winList)});
    if (compiled.terminologyId == 0)
        return;
    const auto terminologyId = static_cast<std::int16_t>(compiled.terminologyId);
    if (outputs.mac)
        outputs.macResources.push_back({resourceTypeAETE, terminologyId, "", false,
                                        __sharedBytes(compiled.macTerminology)});
    if (outputs.windows)
        outputs.winResources.push_back({resourceTypeAETE, terminologyId, "", false,
                                        __sharedBytes(compiled.winTerminology)});
}

}  // namespace kel::rez
