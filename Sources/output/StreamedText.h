// An output's text as the output pass writes it: kept whole in memory, or, once it streams
// into a file being replaced, handed on to that file in pieces of about 1 MiB, so that a
// text of many megabytes is never held whole.
#ifndef VANTREL_STREAMED_TEXT_H
#define VANTREL_STREAMED_TEXT_H

#include <cstddef>
#include <string>

namespace kel::utils {
class FileReplacement;
}

namespace kel::rez {

class StreamedText
{
public:
    static constexpr std::size_t pieceSize = std::size_t(1) << 20;

    /// What was written and not yet handed on: the whole text while it is kept in memory.
    std::string& text() { return __text; }
    const std::string& text() const { return __text; }

    /// From now on the text goes, as text-mode lines, into the file that replacement
    /// started as number file.
    void streamInto(kel::utils::FileReplacement& replacement, std::size_t file);
    bool streams() const { return __replacement != nullptr; }

    /// Hands the text on once it holds a piece; kept in memory, it just grows. What is
    /// left at the end goes to the file with its finish.
    void handOnFullPiece()
    {
        if (__replacement && __text.size() >= pieceSize)
            __handOn();
    }

    /// Nothing was ever written.
    bool empty() const { return size() == 0; }
    /// How many bytes were written, handed on or not.
    std::size_t size() const { return __handedOnSize + __text.size(); }

    /// Takes back what was written after the first size bytes, as far as it was not handed
    /// on yet. A refused resource ends the run, and a file that got part of it is given up.
    void cutBackTo(std::size_t size);

    /// Makes room for extra more bytes, no more than a piece and a little when streaming.
    void reserve(std::size_t extra);

private:
    void __handOn();

    std::string __text;
    kel::utils::FileReplacement* __replacement = nullptr;
    std::size_t __file = 0;
    std::size_t __handedOnSize = 0;
};

}  // namespace kel::rez

#endif
