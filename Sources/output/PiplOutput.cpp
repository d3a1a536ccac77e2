#include "output/PiplOutput.h"

#include "output/ResourceScriptText.h"
#include "output/RezText.h"
#include "pipl/Pipl.h"

namespace kel::rez {

namespace {

/// The raw data of one resource in both texts.
void __appendRawData(const Resource& resource, const HexBytes& mac, const HexBytes& win,
                     StreamedText& macText, StreamedText& winText)
{
    appendMacDataStatement(resource, mac, macText);
    appendWinDataBlock(resource, win.bytes, winText);
}

}  // namespace

bool __processPiPL(const Resource& res, StreamedText& macText, StreamedText& winText,
                   std::vector<unsigned char>& piplBytes, CompiledOutputs& compiledFiles,
                   const TerminologyIds& listedTerminologyIds, Diagnostics& diagnostics)
{
    CompiledPipl compiled;
    if (!compilePipl(res, compiled, diagnostics, listedTerminologyIds))
        return false;
    __appendRawData(res, compiled.macList, compiled.winList, macText, winText);
    if (compiled.terminologyId != 0) {
        Resource terminology;
        terminology.type = resourceTypeAETE;
        terminology.id = static_cast<std::int16_t>(compiled.terminologyId);
        __appendRawData(terminology, compiled.macTerminology, compiled.winTerminology, macText,
                        winText);
    }
    addCompiledPiplResources(res, compiled, compiledFiles);
    piplBytes.insert(piplBytes.end(), compiled.byteImageBlock.begin(),
                     compiled.byteImageBlock.end());
    return true;
}

}  // namespace kel::rez
