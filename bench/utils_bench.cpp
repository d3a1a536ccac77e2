// Throughput of the utility functions that run over whole inputs: reading a file with line-end
// normalisation, and replace-all over one long line with and without matches.
//
//     utils_bench [FOLDER]
//
// Writes its input files into FOLDER (default: the system temporary folder), removes them
// afterwards and prints one line per case: size, best time of three runs and MB/s.
#include "kelutilsFiles.h"
#include "kelutilsStrings.h"

#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::size_t mebibyte = 1024 * 1024;

/// 200 MB of 100-byte lines ending in CR LF, like a large input saved on Windows.
std::string manyLines()
{
    std::string line(98, 'x');
    line[0] = '"';
    line[40] = '\\';
    line += "\r\n";
    std::string text;
    text.reserve(200 * 1000 * 1000);
    while (text.size() + line.size() <= 200 * 1000 * 1000)
        text += line;
    return text;
}

/// One line of 64 MiB hex digits.
std::string longLine()
{
    std::string text(64 * mebibyte, '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = "0123456789abcdef"[(i * 7) & 15];
    return text;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// The floor for reading: the raw bytes into a buffer, nothing else.
std::size_t rawRead(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    return static_cast<std::size_t>(in.gcount());
}

void benchReading(const std::string& name, const std::string& path, std::size_t bytes)
{
    report(("baseline: raw read, " + name).c_str(), bytes,
           bestOfThree([&] { return rawRead(path); }));
    report(("getPlainFileContents, " + name).c_str(), bytes,
           bestOfThree([&] { return kel::utils::getPlainFileContents(path).size(); }));
}

}  // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const std::string linesPath = (folder / "utils_bench_lines.txt").string();
    const std::string longPath = (folder / "utils_bench_long.txt").string();

    const std::string lines = manyLines();
    writeFile(linesPath, lines);
    benchReading("2 M lines with CR LF", linesPath, lines.size());
    fs::remove(linesPath);

    const std::string line = longLine();
    writeFile(longPath, line);
    benchReading("one 64 MiB line", longPath, line.size());
    fs::remove(longPath);

    report("baseline: copy of the 64 MiB string", line.size(),
           bestOfThree([&] { return std::string(line).size(); }));
    report("stringReplaceAll, 64 MiB, no match", line.size(),
           bestOfThree([&] { return kel::utils::stringReplaceAll(line, "\"", "\\\"").size(); }));
    report("stringReplaceAll, 64 MiB, a match every 16 bytes", line.size(),
           bestOfThree([&] { return kel::utils::stringReplaceAll(line, "7", "\\7").size(); }));
    report("stringReplaceAll, 200 MB, CR removal", lines.size(),
           bestOfThree([&] { return kel::utils::stringReplaceAll(lines, "\r", "").size(); }));
    return 0;
}
