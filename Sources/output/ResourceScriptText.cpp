// The Windows resource script: lines that pull a resource from a file, and raw-data blocks
// that carry hex data or bytes as one line of octal escapes.
#include "output/ResourceScriptText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "kelutilsStrings.h"
#include "output/ChunkedAppender.h"
#include "common/HexEncoding.h"
#include "output/OutputText.h"

namespace kel::rez {

namespace {

/// A backslash and the byte's value in octal without leading zeros: \0, \12, \377.
struct __OctalEscape {
    char text[4];
    unsigned char length;
};

constexpr std::array<__OctalEscape, 256> __makeOctalEscapes()
{
    std::array<__OctalEscape, 256> escapes{};
    for (int value = 0; value < 256; ++value) {
        __OctalEscape& escape = escapes[value];
        escape.text[0] = '\\';
        char digits[3] = {};
        int count = 0;
        int rest = value;
        do {
            digits[count++] = static_cast<char>('0' + rest % 8);
            rest /= 8;
        } while (rest > 0);
        for (int i = 0; i < count; ++i)
            escape.text[1 + i] = digits[count - 1 - i];
        escape.length = static_cast<unsigned char>(1 + count);
    }
    return escapes;
}

constexpr std::array<__OctalEscape, 256> __octalEscapes = __makeOctalEscapes();

/// Appends the octal escapes of the digit pairs, checking each pair on the way: one pass
/// over the data. On a bad digit returns false with badChar set; a lone last digit is
/// reported as the byte 0, once all complete pairs before it are good. The escapes of a
/// failed call stay in out for the caller to cut off. Each escape is copied as its four
/// bytes and the position moves by its true length; what follows overwrites the rest.
bool __appendOctalEscapes(const std::string& hexData, StreamedText& out, char& badChar)
{
    constexpr std::size_t pairsPerBatch = ChunkedAppender::capacity / sizeof(__OctalEscape::text);
    ChunkedAppender appender(out);
    const std::size_t pairEnd = hexData.size() - hexData.size() % 2;
    const char* digits = hexData.data();
    for (std::size_t batch = 0; batch < pairEnd; batch += 2 * pairsPerBatch) {
        const std::size_t batchEnd = std::min(pairEnd, batch + 2 * pairsPerBatch);
        char* const begin = appender.room((batchEnd - batch) / 2 * sizeof(__OctalEscape::text));
        char* write = begin;
        for (std::size_t i = batch; i < batchEnd; i += 2) {
            const int high = __hexDigitValue(digits[i]);
            const int low = __hexDigitValue(digits[i + 1]);
            if (high < 0 || low < 0) {
                badChar = digits[high < 0 ? i : i + 1];
                return false;
            }
            const __OctalEscape& escape = __octalEscapes[high * 16 + low];
            std::memcpy(write, escape.text, sizeof escape.text);
            write += escape.length;
        }
        appender.advance(static_cast<std::size_t>(write - begin));
    }
    if (pairEnd != hexData.size()) {
        badChar = '\0';
        return false;
    }
    return true;
}

/// Appends one block: key, type, the escaped bytes on one line. Each block makes its
/// escapes from hexData: an earlier block may have been handed on to the file already.
/// False on a bad digit.
bool __appendWinBlock(const std::string& key, const std::string& type, const std::string& hexData,
                      StreamedText& out, char& badChar)
{
    std::string& opening = out.text();
    opening += key;
    opening += ' ';
    opening += type;
    opening += " {\n\t\"";
    if (!__appendOctalEscapes(hexData, out, badChar))
        return false;
    out.text() += "\"\n}\n\n";
    return true;
}

/// A name as a resource-script string: in double quotes, a quote inside written as two and
/// a backslash (which a name taken from a file name can hold) as two, so that it is no escape.
void __appendQuotedName(const std::string& name, std::string& winText)
{
    appendQuoted(name, QuoteEscape::doubled, winText);
}

void __appendQuotedName(const std::string& name, ChunkedAppender& lines)
{
    appendQuoted(name, QuoteEscape::doubled, lines);
}

/// The same as a string of its own, for the keys of data blocks.
std::string __quotedName(const std::string& name)
{
    std::string quoted;
    __appendQuotedName(name, quoted);
    return quoted;
}

/// What follows a line's key: the type and the quoted file, whose backslashes the resource
/// compiler would otherwise read as escapes (res\\new.png).
void __appendLineEnd(std::string_view type, const std::string& quotedFile, ChunkedAppender& lines)
{
    lines.append(' ');
    lines.append(type);
    lines.append(' ');
    lines.append(quotedFile);
    lines.append('\n');
}

}  // namespace

void appendWinFileLines(const Resource& resource, const ResourceSpellings& spellings,
                        StreamedText& winText)
{
    // Some types are listed a second time, under the type the Mac side knows them by.
    const std::string_view extraType = spellings.traits->extraWinFileType;
    const std::string& quotedFile = spellings.quotedFile;
    ChunkedAppender lines(winText);
    lines.append(spellings.id);
    __appendLineEnd(resource.type, quotedFile, lines);
    if (!extraType.empty()) {
        lines.append(spellings.id);
        __appendLineEnd(extraType, quotedFile, lines);
    }
    if (resource.name.empty())
        return;
    __appendQuotedName(resource.name, lines);
    __appendLineEnd(resource.type, quotedFile, lines);
    if (!extraType.empty()) {
        __appendQuotedName(resource.name, lines);
        __appendLineEnd(extraType, quotedFile, lines);
    }
}

bool __processByteStrWin(const Resource& resource, const std::string& hexData, StreamedText& out,
                         bool duplicateByName, Diagnostics& diagnostics)
{
    std::vector<std::string> keys;
    if (duplicateByName || resource.id != 0)
        keys.push_back(kel::utils::itoa(resource.id));
    const bool byIdOnly = duplicateByName ? resource.name.empty() : resource.id != 0;
    if (!byIdOnly)
        keys.push_back(__quotedName(resource.name));

    // Room for the longest escapes, four bytes a pair: pages reserved and never written
    // cost nothing, and the blocks are then made without a pass just to measure them.
    const std::size_t sizeBefore = out.size();
    const std::size_t longestEscapes = hexData.size() / 2 * sizeof(__OctalEscape::text);
    out.reserve(keys.size() * (longestEscapes + resource.type.size() + 32)
                + resource.name.size());
    char badChar = '\0';
    for (const std::string& key : keys) {
        if (!__appendWinBlock(key, resource.type, hexData, out, badChar)) {
            out.cutBackTo(sizeBefore);  // a refused string leaves out as it was
            return reportBadHexData(resource, badChar, diagnostics);
        }
    }
    return true;
}

void appendWinDataBlock(const Resource& resource, const std::vector<unsigned char>& bytes,
                        StreamedText& out)
{
    // A compiled resource is small: its escapes go straight into the text, in room made for
    // the longest, which each fills by its four bytes and moves on by its true length.
    std::string& text = out.text();
    if (resource.id != 0)
        appendId(resource.id, text);
    else
        __appendQuotedName(resource.name, text);
    text += ' ';
    text += resource.type;
    text += " {\n\t\"";
    const std::size_t start = text.size();
    text.resize(start + bytes.size() * sizeof(__OctalEscape::text));
    char* write = text.data() + start;
    for (unsigned char byte : bytes) {
        std::memcpy(write, __octalEscapes[byte].text, sizeof(__OctalEscape::text));
        write += __octalEscapes[byte].length;
    }
    text.resize(static_cast<std::size_t>(write - text.data()));
    text += "\"\n}\n\n";
}

}  // namespace kel::rez
