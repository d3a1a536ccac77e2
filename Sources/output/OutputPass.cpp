// The output pass: every resource, types in byte order and input order within a type,
// appends its part of each output text. Nothing is written to disk here.
#include "output/OutputPass.h"

#include "common/ExitStatus.h"
#include "output/HeaderAndIdToFileLines.h"
#include "output/ResourceScriptText.h"
#include "output/RezText.h"
#include "output/PiplOutput.h"

namespace kel::rez {

namespace {

void __appendFileResource(const Resource& resource, const OutputPaths& paths, OutputTexts& texts)
{
    if (paths.mac)
        appendMacReadStatement(resource, texts.macText);
    if (paths.windows)
        appendWinFileLines(resource, texts.winText);
    appendIdToFileLines(resource, texts.idToFileText);
}

int __appendHexDataResource(const Resource& resource, const OutputPaths& paths, OutputTexts& texts)
{
    if (paths.mac && !__processByteStrMac(resource, resource.data, texts.macText))
        return statusBadHexData;
    if (paths.windows && !__processByteStrWin(resource, resource.data, texts.winText, true))
        return statusBadHexData;
    return statusSuccess;
}

int __appendObjectDataResource(const Resource& resource, const TerminologyIds& listedTerminologyIds,
                               OutputTexts& texts)
{
    if (resource.type != resourceTypePiPL)
        return failWith(statusBadObjectData,
                        "Only \"PiPL\" resources support a JSON object for the \"data\" member.");
    // The compiler appends to both texts; a text whose path is absent is never written.
    if (!__processPiPL(resource, texts.macText, texts.winText, texts.piplBytes,
                       listedTerminologyIds))
        return statusBadObjectData;
    return statusSuccess;
}

int __appendResource(const Resource& resource, const TerminologyIds& listedTerminologyIds,
                     const OutputPaths& paths, OutputTexts& texts)
{
    if (paths.header && !resource.define.empty())
        appendHeaderLines(resource, texts.headerText);
    if (!resource.file.empty()) {
        __appendFileResource(resource, paths, texts);
        return statusSuccess;
    }
    if (!resource.data.empty())
        return __appendHexDataResource(resource, paths, texts);
    if (resource.dataObject)
        return __appendObjectDataResource(resource, listedTerminologyIds, texts);
    return statusSuccess;  // an empty "file" or "data": header lines only
}

/// Reserves room for the lines of typical file resources in each text that will be
/// written. A text that grows by doubling copies itself over and over and writes more
/// memory than it keeps; room that is reserved and never written costs nothing. Longer
/// lines still grow the text.
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

}  // namespace

int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts)
{
    texts = OutputTexts();
    __reserveTexts(resourcesByType, paths, texts);
    const TerminologyIds listedTerminologyIds = listedTerminologyResourceIds(resourcesByType);
    for (const auto& entry : resourcesByType)
        for (const ResourcePtr& resource : entry.second)
            if (int status = __appendResource(*resource, listedTerminologyIds, paths, texts))
                return status;
    return statusSuccess;
}

}  // namespace kel::rez
