// The output pass: every resource, types in byte order and input order within a type,
// appends its part of each output text. A text that streams hands each full piece on to
// its file's temporary; no output is replaced here.
#include "output/OutputPass.h"

#include "common/ExitStatus.h"
#include "output/OutputFiles.h"
#include "output/HeaderAndIdToFileLines.h"
#include "output/MacResourceFile.h"
#include "output/OutputText.h"
#include "output/PiplOutput.h"
#include "output/ResourceScriptText.h"
#include "output/ResourceSpellings.h"
#include "output/RezText.h"
#include "output/WindowsResourceFile.h"
#include "resources/ResourceType.h"

namespace kel::rez {

namespace {

void __appendFileResource(const Resource& resource, const ResourceSpellings& spellings,
                          const OutputPaths& paths, OutputTexts& texts)
{
    if (paths.mac)
        appendMacReadStatement(resource, spellings, texts.macText);
    if (paths.windows)
        appendWinFileLines(resource, spellings, texts.winText);
    appendIdToFileLines(resource, spellings, texts.idToFileText);
    if (paths.depfile)
        texts.namedFiles.push_back(resource.file);
}

int __appendHexDataResource(const Resource& resource, const OutputPaths& paths, OutputTexts& texts,
                            Diagnostics& diagnostics)
{
    if (paths.mac && !__processByteStrMac(resource, resource.data, texts.macText, diagnostics))
        return statusBadHexData;
    if (paths.windows
        && !__processByteStrWin(resource, resource.data, texts.winText, true, diagnostics))
        return statusBadHexData;
    return statusSuccess;
}

int __appendObjectDataResource(const Resource& resource, const ResourceTypeTraits& traits,
                               const TerminologyIds& listedTerminologyIds, OutputTexts& texts,
                               Diagnostics& diagnostics)
{
    if (!traits.takesObjectData)
        return diagnostics.failWith(
            statusBadObjectData,
            "Only \"PiPL\" resources support a JSON object for the \"data\" member.",
            resourcePlace(resource, {"data"}));
    // The compiler appends to both texts; a text whose path is absent is never written.
    if (!__processPiPL(resource, texts.macText, texts.winText, texts.piplBytes, texts.compiled,
                       listedTerminologyIds, diagnostics))
        return statusBadObjectData;
    return statusSuccess;
}

/// Appends the resource's part of every text; traits are those of its type, looked up once
/// for all of the type's resources. spellings is only room, reused from one resource to
/// the next.
int __appendResource(const Resource& resource, const ResourceTypeTraits& traits,
                     const TerminologyIds& listedTerminologyIds, const OutputPaths& paths,
                     OutputTexts& texts, ResourceSpellings& spellings, Diagnostics& diagnostics)
{
    spellings.spell(resource, traits);
    if (paths.header && !resource.define.empty())
        appendHeaderLines(resource, spellings, texts.headerText);
    if (!resource.file.empty()) {
        __appendFileResource(resource, spellings, paths, texts);
        return addCompiledResource(resource, traits, texts.compiled, diagnostics);
    }
    if (!resource.data.empty()) {
        if (int status = __appendHexDataResource(resource, paths, texts, diagnostics))
            return status;
        return addCompiledResource(resource, traits, texts.compiled, diagnostics);
    }
    if (resource.dataObject)
        return __appendObjectDataResource(resource, traits, listedTerminologyIds, texts,
                                          diagnostics);
    return statusSuccess;  // an empty "file" or "data": header lines only
}

/// Hands on every text that holds a full piece, once a resource is written.
void __handOnFullPieces(OutputTexts& texts)
{
    for (StreamedText* text : {&texts.headerText, &texts.idToFileText, &texts.macText, &texts.winText})
        text->handOnFullPiece();
}

/// Reserves room for the lines of typical file resources in each text that will be
/// written. A text that grows by doubling copies itself over and over and writes more
/// memory than it keeps; room that is reserved and never written costs nothing. Longer
/// lines still grow the text. A streaming text needs no more than a piece.
void __reserveTexts(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                    OutputTexts& texts)
{
    constexpr std::size_t bytesPerResource = 256;
    std::size_t resourceCount = 0;
    for (const auto& entry : resourcesByType)
        resourceCount += entry.second.size();
    const std::size_t room = resourceCount * bytesPerResource;
    if (paths.header)
        texts.headerText.reserve(room);
    texts.idToFileText.reserve(room);
    if (paths.mac)
        texts.macText.reserve(room);
    if (paths.windows)
        texts.winText.reserve(room);
}

/// The bytes of a compiled file, or the status of the message printed for what it cannot hold.
int __compileFile(const CompiledFile& file, std::vector<unsigned char>& bytes,
                  Diagnostics& diagnostics)
{
    if (file.status)
        return diagnostics.failWith(file.status, file.error);
    bytes.assign(file.bytes.begin(), file.bytes.end());
    return statusSuccess;
}

/// Like the texts, a compiled file with no resources is not written.
int __compileResourceFiles(OutputTexts& texts, Diagnostics& diagnostics)
{
    const CompiledOutputs& compiled = texts.compiled;
    if (!compiled.macResources.empty())
        if (int status = __compileFile(writeMacResourceFile(compiled.macResources), texts.rsrcBytes,
                                       diagnostics))
            return status;
    if (!compiled.winResources.empty())
        if (int status = __compileFile(writeWindowsResourceFile(compiled.winResources),
                                       texts.resBytes, diagnostics))
            return status;
    return statusSuccess;
}

}  // namespace

int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts, Diagnostics& diagnostics, OutputFiles* files)
{
    texts = OutputTexts();
    texts.compiled.mac = paths.rsrc.has_value();
    texts.compiled.windows = paths.res.has_value();
    if (files)
        files->streamTexts(texts);
    __reserveTexts(resourcesByType, paths, texts);
    const TerminologyIds listedTerminologyIds = listedTerminologyResourceIds(resourcesByType);
    // Under --strict every resource is looked at, so that all their problems are reported.
    int firstStatus = statusSuccess;
    ResourceSpellings spellings;
    for (const auto& [type, resources] : resourcesByType) {
        const ResourceTypeTraits traits = resourceTypeTraits(type);
        for (const ResourcePtr& resource : resources) {
            const int status = __appendResource(*resource, traits, listedTerminologyIds, paths,
                                                texts, spellings, diagnostics);
            if (firstStatus == statusSuccess)
                firstStatus = status;
            if (firstStatus != statusSuccess && diagnostics.stopping())
                return firstStatus;
            __handOnFullPieces(texts);
        }
    }
    if (firstStatus != statusSuccess)
        return firstStatus;
    return __compileResourceFiles(texts, diagnostics);
}

}  // namespace kel::rez
