#include "output/PiplOutput.h"

#include "output/ResourceScriptText.h"
#include "output/RezText.h"
#include "pipl/Pipl.h"

namespace kel::rez {

namespace {

/// The raw data of one resource in both texts; the compiler's hex never fails the check.
void __appendRawData(const Resource& resource, const std::string& macHex, const std::string& winHex,
                     StreamedText& macText, StreamedText& winText, Diagnostics& diagnostics)
{
    __processByteStrMac(resource, macHex, macText, diagnostics);
    __processByteStrWin(resource, winHex, winText, false, diagnostics);
}

}  // namespace

bool __processPiPL(const Resource& res, StreamedText& macText, StreamedText& winText,
                   std::vector<unsigned char>& piplBytes, CompiledOutputs& compiledFiles,
                   const TerminologyIds& listedTerminologyIds, Diagnostics& diagnostics)
{
    CompiledPipl compiled;
    if (!compilePipl(res, compiled, diagnostics, listedTerminologyIds))
        return false;
    __appendRawData(res, compiled.macListHex, compiled.winListHex, macText, winText, diagnostics);
    if (compiled.terminologyId != 0) {
        Resource terminology;
        terminology.type = resourceTypeAETE;
        terminology.id = static_cast<std::int16_t>(compiled.terminologyId);
        __appendRawData(terminology, compiled.macTerminologyHex, compiled.winTerminologyHex,
                        macText, winText, diagnostics);
    }
    addCompiledPiplResources(res, compiled, compiledFiles);
    piplBytes.insert(piplBytes.end(), compiled.byteImageBlock.begin(),
                     compiled.byteImageBlock.end());
    return true;
}

}  // namespace kel::rez
