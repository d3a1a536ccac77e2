// Runs the PiPL compiler on a JSON description and reads its output back as bytes.
#ifndef VANTREL_TESTS_PIPL_TEST_SUPPORT_H
#define VANTREL_TESTS_PIPL_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "pipl/Pipl.h"
#include "resources/Resource.h"

namespace pipltest {

struct PiplRun {
    bool ok = false;
    std::string macText;
    std::string winText;
    std::vector<unsigned char> piplBytes;
    std::string errorText;  // everything written to standard error
};

/// A "PiPL" resource holding the parsed description (null data when the text does not parse).
kel::rez::Resource piplResource(const std::string& descriptionJson, std::int16_t id = 10000,
                                const std::string& name = "");

/// Calls the compiler once on res, capturing standard error; listed are the IDs of the
/// list's own terminology resources.
PiplRun runPipl(const kel::rez::Resource& res, const kel::rez::TerminologyIds& listed = {});
PiplRun runPipl(const std::string& descriptionJson);

/// The hex digits of each data statement of a .r text, in order, case kept.
std::vector<std::string> rezDataHex(const std::string& macText);
/// The opening line of each data statement of a .r text ("data 'PiPL' (10000) {").
std::vector<std::string> rezHeads(const std::string& macText);
/// The bytes of each raw-data block of a .rc text as lower-case hex, in order.
std::vector<std::string> rcDataHex(const std::string& winText);
/// The opening line of each raw-data block of a .rc text ("10000 PiPL {").
std::vector<std::string> rcHeads(const std::string& winText);

std::string lowerCase(std::string text);
std::string bytesToHex(const std::vector<unsigned char>& bytes);

/// A property list read back from hex: its count and the keys of its records in order.
/// Records are assumed to occupy their declared length rounded up to a multiple of four.
struct ParsedList {
    bool wellFormed = false;  // header present and the records use up the text exactly
    std::uint32_t count = 0;
    std::vector<std::string> vendors;
    std::vector<std::string> keys;
    std::vector<std::uint32_t> declaredLengths;
    std::vector<std::string> dataHex;  // as written, padding included
};

ParsedList parseMacList(const std::string& hex);
ParsedList parseWinList(const std::string& hex);

}  // namespace pipltest

#endif
