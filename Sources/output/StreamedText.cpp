#include "output/StreamedText.h"

#include <algorithm>

#include "kelutilsFileReplacement.h"

namespace kel::rez {

namespace {

/// Beyond a piece: what one emitter's step may add before the text is handed on.
constexpr std::size_t __slack = std::size_t(1) << 17;

}  // namespace

void StreamedText::streamInto(kel::utils::FileReplacement& replacement, std::size_t file)
{
    __replacement = &replacement;
    __file = file;
}

void StreamedText::__handOn()
{
    __replacement->writeTextPiece(__file, __text.data(), __text.size());
    __handedOnSize += __text.size();
    __text.clear();  // keeps its room for the next piece
}

void StreamedText::cutBackTo(std::size_t size)
{
    if (size >= __handedOnSize && size < this->size())
        __text.resize(size - __handedOnSize);
}

void StreamedText::reserve(std::size_t extra)
{
    const std::size_t wanted = __text.size() + extra;
    __text.reserve(__replacement ? std::min(wanted, pieceSize + __slack) : wanted);
}

}  // namespace kel::rez
