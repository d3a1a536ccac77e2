// The least any run on an input can cost: read the input whole, then write outputs of the
// sizes the tool wrote, in 1 MiB pieces, each into a temporary renamed over its file.
//
//     floor_copy INPUT OUTPUT=SIZE ...
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<char> readWhole(const char* path)
{
    std::vector<char> bytes;
    if (std::FILE* in = std::fopen(path, "rb")) {
        char piece[1 << 16];
        for (std::size_t count; (count = std::fread(piece, 1, sizeof piece, in)) > 0;)
            bytes.insert(bytes.end(), piece, piece + count);
        std::fclose(in);
    }
    return bytes;
}

/// size bytes taken round and round from source (zeros when it is empty).
bool writeSized(const std::string& path, unsigned long long size, const std::vector<char>& source)
{
    const std::string temporary = path + ".floor.tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out)
        return false;
    const std::vector<char> zeros(1 << 20);
    const std::vector<char>& bytes = source.empty() ? zeros : source;
    for (unsigned long long written = 0; written < size;) {
        const std::size_t piece = static_cast<std::size_t>(
            std::min<unsigned long long>({size - written, bytes.size(), 1u << 20}));
        std::fwrite(bytes.data(), 1, piece, out);
        written += piece;
    }
    return std::fclose(out) == 0 && std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: floor_copy INPUT OUTPUT=SIZE ...\n", stderr);
        return 2;
    }
    const std::vector<char> input = readWhole(argv[1]);
    for (int index = 2; index < argc; ++index) {
        const std::string argument = argv[index];
        const std::size_t equals = argument.rfind('=');
        if (equals == std::string::npos
            || !writeSized(argument.substr(0, equals),
                           std::strtoull(argument.c_str() + equals + 1, nullptr, 10), input))
            return 1;
    }
    return 0;
}
