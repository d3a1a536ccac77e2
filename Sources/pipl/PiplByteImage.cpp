#include "pipl/PiplByteImage.h"

namespace kel::rez {

namespace {

void __appendWord(std::vector<unsigned char>& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
}

// Codes are the four characters in order.
void __appendCode(std::vector<unsigned char>& bytes, const char* code)
{
    bytes.insert(bytes.end(), code, code + 4);
}

void __appendRecordHead(std::vector<unsigned char>& bytes, const char* key, std::uint32_t length)
{
    __appendCode(bytes, __illustratorVendor);
    __appendCode(bytes, key);
    __appendWord(bytes, 0);
    __appendWord(bytes, length);
}

}  // namespace

void __appendByteImage(const PiplKind& kind, const std::string& pluginName,
                       std::vector<unsigned char>& bytes)
{
    __appendWord(bytes, 1);
    __appendWord(bytes, 0);
    __appendWord(bytes, 4);

    __appendRecordHead(bytes, "ivrs", 4);
    __appendWord(bytes, 2);
    __appendRecordHead(bytes, "kind", 4);
    __appendCode(bytes, kind.kindCode);
    __appendRecordHead(bytes, "mi32", 0);

    // Zero-terminated, then padded so that the terminator and padding are 2 to 5 bytes.
    std::size_t padding = 4 - (pluginName.size() + 1) % 4;
    __appendRecordHead(bytes, "pinm", static_cast<std::uint32_t>(pluginName.size() + 1 + padding));
    bytes.insert(bytes.end(), pluginName.begin(), pluginName.end());
    bytes.insert(bytes.end(), 1 + padding, 0);
}

}  // namespace kel::rez
