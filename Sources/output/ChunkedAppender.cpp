#include "output/ChunkedAppender.h"

namespace kel::rez {

ChunkedAppender::ChunkedAppender(std::string& out)
    : __out(out)
{
}

ChunkedAppender::~ChunkedAppender()
{
    flush();
}

void ChunkedAppender::flush()
{
    __out.append(__buffer, __filled);
    __filled = 0;
}

}  // namespace kel::rez
