// Writes a known sequence to the debugger stream; debug_stream.py reads Wine's trace of
// the debugger calls it causes.
#include "kelutilsWinDebug.h"

int main()
{
    std::ostream& out = kel::utils::winDebugStream;
    out << "first line\n";
    out << "a" << 'b' << 42 << 1.5;
    out << "";
    out << "tab\t\"quoted\" \xc3\xbc\r\n";
    // Without unitbuf the text waits in the buffer until the stream is destroyed at exit.
    out.unsetf(std::ios_base::unitbuf);
    out << "held "
        << "back";
    return 0;
}
