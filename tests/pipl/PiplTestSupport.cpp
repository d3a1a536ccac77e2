#include "PiplTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>

#include "common/ExitStatus.h"
#include "keljsonParse.h"
#include "output/PiplOutput.h"

namespace pipltest {

kel::rez::Resource piplResource(const std::string& descriptionJson, std::int16_t id,
                                const std::string& name)
{
    kel::rez::Resource res;
    res.type = kel::rez::resourceTypePiPL;
    res.id = id;
    res.name = name;
    res.dataObject = kel::utils::AutoNode(kel::json::parse(descriptionJson));
    return res;
}

PiplRun runPipl(const kel::rez::Resource& res, const kel::rez::TerminologyIds& listed)
{
    PiplRun run;
    kel::rez::Diagnostics diagnostics;
    kel::rez::CompiledOutputs noCompiledFiles;
    kel::rez::StreamedText macText;
    kel::rez::StreamedText winText;
    run.ok = kel::rez::__processPiPL(res, macText, winText, run.piplBytes, noCompiledFiles, listed,
                                     diagnostics);
    run.macText = std::move(macText.text());
    run.winText = std::move(winText.text());
    run.errorText = diagnostics.text();
    return run;
}

PiplRun runPipl(const std::string& descriptionJson)
{
    return runPipl(piplResource(descriptionJson));
}

std::vector<std::string> rezDataHex(const std::string& macText)
{
    std::vector<std::string> statements;
    std::size_t position = 0;
    while ((position = macText.find("data '", position)) != std::string::npos) {
        std::size_t end = macText.find("\n};\n", position);
        std::string hex;
        for (std::size_t line = macText.find("$\"", position); line < end;
             line = macText.find("$\"", line)) {
            std::size_t close = macText.find('"', line + 2);
            for (std::size_t i = line + 2; i < close; ++i)
                if (macText[i] != ' ')
                    hex += macText[i];
            line = close;
        }
        statements.push_back(hex);
        position = end;
    }
    return statements;
}

std::vector<std::string> rezHeads(const std::string& macText)
{
    std::vector<std::string> heads;
    for (std::size_t position = 0;
         (position = macText.find("data '", position)) != std::string::npos;) {
        std::size_t end = macText.find('\n', position);
        heads.push_back(macText.substr(position, end - position));
        position = end;
    }
    return heads;
}

std::vector<std::string> rcDataHex(const std::string& winText)
{
    static const char digits[] = "0123456789abcdef";
    std::vector<std::string> blocks;
    for (std::size_t position = 0;
         (position = winText.find("{\n\t\"", position)) != std::string::npos;) {
        std::size_t i = position + 4;
        std::string hex;
        while (i < winText.size() && winText[i] == '\\') {
            int value = 0;
            for (++i; i < winText.size() && std::isdigit(static_cast<unsigned char>(winText[i]));
                 ++i)
                value = value * 8 + (winText[i] - '0');
            hex += digits[(value >> 4) & 0xF];
            hex += digits[value & 0xF];
        }
        blocks.push_back(hex);
        position = i;
    }
    return blocks;
}

std::vector<std::string> rcHeads(const std::string& winText)
{
    std::vector<std::string> heads;
    std::size_t lineStart = 0;
    while (lineStart < winText.size()) {
        std::size_t end = winText.find('\n', lineStart);
        if (end == std::string::npos)
            end = winText.size();
        std::string line = winText.substr(lineStart, end - lineStart);
        if (line.size() > 2 && line.compare(line.size() - 2, 2, " {") == 0)
            heads.push_back(line);
        lineStart = end + 1;
    }
    return heads;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string bytesToHex(const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex;
}

namespace {

std::uint32_t readWord(const std::string& hex, std::size_t byteOffset, bool littleEndian)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t byte = std::stoul(hex.substr((byteOffset + i) * 2, 2), nullptr, 16);
        value = littleEndian ? value | (byte << (8 * i)) : (value << 8) | byte;
    }
    return value;
}

std::string readCode(const std::string& hex, std::size_t byteOffset, bool littleEndian)
{
    std::uint32_t value = readWord(hex, byteOffset, littleEndian);
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8)
        code += static_cast<char>((value >> shift) & 0xFF);
    return code;
}

ParsedList parseList(const std::string& hex, std::size_t headerBytes, bool littleEndian)
{
    ParsedList list;
    std::size_t totalBytes = hex.size() / 2;
    if (hex.size() % 2 != 0 || totalBytes < headerBytes)
        return list;
    list.count = readWord(hex, headerBytes - 4, littleEndian);
    std::size_t offset = headerBytes;
    while (offset + 16 <= totalBytes) {
        std::uint32_t length = readWord(hex, offset + 12, littleEndian);
        std::size_t written = (length + 3) / 4 * 4;
        if (offset + 16 + written > totalBytes)
            return list;
        list.vendors.push_back(readCode(hex, offset, littleEndian));
        list.keys.push_back(readCode(hex, offset + 4, littleEndian));
        list.declaredLengths.push_back(length);
        list.dataHex.push_back(hex.substr((offset + 16) * 2, written * 2));
        offset += 16 + written;
    }
    list.wellFormed = offset == totalBytes;
    return list;
}

}  // namespace

ParsedList parseMacList(const std::string& hex)
{
    return parseList(hex, 8, false);
}

ParsedList parseWinList(const std::string& hex)
{
    return parseList(hex, 10, true);
}

}  // namespace pipltest
