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

void ChunkedAppender::__appendLong(const char* text, std::size_t count)
{
    flush();
    __out.text().append(text, count);
    __out.handOnFullPiece();
}

}  // namespace kel::rez
