#include "output/ChunkedAppender.h"

namespace kel::rez {

ChunkedAppender::ChunkedAppender(StreamedText& out)
    : __out(out)
{
}

ChunkedAppender::~ChunkedAppender()
{
    flush();
}

void ChunkedAppender::flush()
{
    __out.text().append(__buffer, __filled);
    __filled = 0;
    __out.handOnFullPiece();
}

}  // namespace kel::rez
