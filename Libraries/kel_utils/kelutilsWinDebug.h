// The debugger output stream of the Windows builds: everything inserted into
// winDebugStream goes to the debugger's output window (OutputDebugStringA), one call per
// insertion, unchanged. Not a console or file stream: without a debugger the text is lost.
#ifndef KEL_UTILS_WIN_DEBUG_H
#define KEL_UTILS_WIN_DEBUG_H

#ifdef _WIN32

#include <ostream>
#include <sstream>

namespace kel::utils {

/// Collects pending text; each sync hands all of it to the debugger as one string and
/// empties the buffer. Destruction delivers what is still pending.
class __WinDebugBuf : public std::stringbuf
{
public:
    __WinDebugBuf() = default;
    ~__WinDebugBuf() override;

protected:
    /// Always 0: the debugger call cannot report a failure.
    int sync() override;
};

/// An output stream that owns its own __WinDebugBuf and flushes after every insertion
/// (unitbuf), so each insertion reaches the debugger at once as its own call.
class __WinDebugOStream : public std::ostream
{
public:
    __WinDebugOStream();
    ~__WinDebugOStream() override;
    __WinDebugOStream(const __WinDebugOStream&) = delete;
    __WinDebugOStream& operator=(const __WinDebugOStream&) = delete;

private:
    __WinDebugBuf* __buffer;
};

/// The process-wide instance, made during static initialisation and destroyed at exit.
/// Not locked: write to it from one thread at a time.
extern __WinDebugOStream winDebugStream;

}  // namespace kel::utils

#endif  // _WIN32

#endif
