// The ID and the quoted file that every output spells the same way, made once per resource.
#include <gtest/gtest.h>

#include <string>

#include "output/ResourceSpellings.h"

namespace kel::rez {
namespace {

Resource makeResource(int id, const std::string& file)
{
    Resource resource;
    resource.type = "PNGI";
    resource.id = static_cast<std::int16_t>(id);
    resource.file = file;
    return resource;
}

TEST(ResourceSpellings, IdInDecimalAndFileAsAQuotedString)
{
    const ResourceTypeTraits traits = resourceTypeTraits("PNGI");
    ResourceSpellings spellings;
    spellings.spell(makeResource(32767, R"(C:\dir\my "q" file.png)"), traits);
    EXPECT_EQ(&traits, spellings.traits);
    EXPECT_EQ("32767", spellings.id);
    EXPECT_EQ(R"("C:\\dir\\my \"q\" file.png")", spellings.quotedFile);
}

TEST(ResourceSpellings, EachResourceIsSpelledAnewOverTheLast)
{
    const ResourceTypeTraits traits = resourceTypeTraits("DATA");
    ResourceSpellings spellings;
    spellings.spell(makeResource(-32768, std::string(5000, '\\')), traits);
    EXPECT_EQ("-32768", spellings.id);
    EXPECT_EQ('"' + std::string(10000, '\\') + '"', spellings.quotedFile);
    spellings.spell(makeResource(0, ""), traits);
    EXPECT_EQ("0", spellings.id);
    EXPECT_EQ("\"\"", spellings.quotedFile);
}

}  // namespace
}  // namespace kel::rez
