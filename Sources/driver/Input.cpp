#include "driver/Input.h"

#include <cstdio>
#include <cstring>

#include "kelutilsFiles.h"

namespace kel::rez {

std::string readLines(std::FILE* stream)
{
    // Reads in blocks rather than by line: same text, without a call per line. Standard
    // input is read through stdio, not iostreams, which a run would otherwise set up for it.
    std::string text;
    char block[65536];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, stream)) > 0)
        text.append(block, count);
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text;
}

void writeText(std::FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::string noInputReason(const std::string& path)
{
    if (const int errorNumber = kel::utils::fileReadError(path))
        return ": cannot read " + path + ": " + std::strerror(errorNumber);
    return ": " + path + " is empty";
}

std::string readInputText(const std::optional<std::string>& inputPath)
{
    if (inputPath)
        return kel::utils::getPlainFileContents(*inputPath);
    return readLines(stdin);
}

}  // namespace kel::rez
