#include "driver/Input.h"

#include <iostream>

#include "kelutilsFiles.h"

namespace kel::rez {

std::string readLines(std::istream& stream)
{
    // Reads in blocks rather than with getline: same text, without a call per line.
    std::string text;
    char block[65536];
    while (stream.read(block, sizeof block) || stream.gcount() > 0)
        text.append(block, static_cast<std::size_t>(stream.gcount()));
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text;
}

std::string readInputText(const std::optional<std::string>& inputPath)
{
    if (inputPath)
        return kel::utils::getPlainFileContents(*inputPath);
    return readLines(std::cin);
}

}  // namespace kel::rez
