#include "kelutilsWinDebug.h"

#ifdef _WIN32

#include <windows.h>

namespace kel::utils {

__WinDebugBuf::~__WinDebugBuf()
{
    sync();
}

int __WinDebugBuf::sync()
{
    OutputDebugStringA(str().c_str());
    str(std::string());
    return 0;
}

// The stream starts without a buffer (the base is built before any member), then takes
// its own; rdbuf() also clears the bad state the null buffer set.
__WinDebugOStream::__WinDebugOStream()
    : std::ostream(nullptr),
      __buffer(new __WinDebugBuf)
{
    rdbuf(__buffer);
    setf(std::ios_base::unitbuf);
}

__WinDebugOStream::~__WinDebugOStream()
{
    rdbuf(nullptr);
    delete __buffer;
}

__WinDebugOStream winDebugStream;

}  // namespace kel::utils

#endif  // _WIN32
