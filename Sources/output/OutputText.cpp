#include "output/OutputText.h"

#include <charconv>

#include "common/ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

void appendId(std::int16_t id, std::string& text)
{
    char digits[8];
    const auto written = std::to_chars(digits, digits + sizeof digits, id);
    text.append(digits, written.ptr);
}

void appendQuotedString(const std::string& text, std::string& out)
{
    // The runs between escaped bytes go in whole: most texts have no byte to escape.
    out += '"';
    const char* run = text.data();
    const char* const end = text.data() + text.size();
    for (const char* at = run; at != end; ++at) {
        if (*at != '"' && *at != '\\')
            continue;
        out.append(run, at);
        out += '\\';
        out += *at;
        run = at + 1;
    }
    out.append(run, end);
    out += '"';
}

bool reportBadHexData(const Resource& resource, char found, Diagnostics& diagnostics)
{
    return diagnostics.fail(statusBadHexData,
                            "data for " + resource.type + " : " + kel::utils::itoa(resource.id)
                                + " must be in stringified hex format (i.e. \"1a2b3c56...\"), but "
                                  "found char '"
                                + std::string(1, found) + "' in string",
                            resourcePlace(resource, {"data"}));
}

}  // namespace kel::rez
