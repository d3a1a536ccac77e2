// Loading the resource list: which member spellings win, what each record carries.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "common/ExitStatus.h"
#include "driver/Pipeline.h"
#include "keljsonParse.h"
#include "keljsonSerialize.h"
#include "resources/ResourceLoader.h"

namespace kel::rez {
namespace {

struct Loaded {
    int status;
    ResourcesByType byType;
    std::string err;
};

Loaded load(const std::string& json)
{
    kel::utils::AutoNode root(kel::json::parse(json));
    EXPECT_TRUE(root) << json;
    Loaded loaded{};
    Diagnostics diagnostics;
    loaded.status = loadResources(*root.get(), loaded.byType, diagnostics);
    loaded.err = diagnostics.text();
    return loaded;
}

/// The one record loaded, taken out of the table, so it outlives it.
ResourcePtr only(Loaded&& loaded)
{
    EXPECT_EQ(1u, loaded.byType.size());
    if (loaded.byType.size() != 1 || loaded.byType.begin()->second.size() != 1)
        return std::make_unique<Resource>();
    return std::move(loaded.byType.begin()->second.front());
}

TEST(ResourceLoader, SpellingsAreTriedInOrder)
{
    EXPECT_EQ("a", only(load(R"([{"type":"a","Type":"b","TYPE":"c","file":"f"}])"))->type);
    EXPECT_EQ("b", only(load(R"([{"TYPE":"c","Type":"b","file":"f"}])"))->type);
    const ResourcePtr upper = only(load(
        R"([{"TYPE":"T","FILE":"x/f.png","ID":12000,"NAME":"N","DEFINE":"D","file":"y/g.png"}])"));
    EXPECT_EQ("y/g.png", upper->file);
    EXPECT_EQ(12000, upper->id);
    EXPECT_EQ("N", upper->name);
    EXPECT_EQ("D", upper->define);
}

TEST(ResourceLoader, FileWinsOverDataAndNamesAreDerivedOnlyWithoutName)
{
    const ResourcePtr both = only(load(R"([{"type":"T","file":"dir/pic.png","data":"00"}])"));
    EXPECT_EQ("dir/pic.png", both->file);
    EXPECT_EQ("", both->data);
    EXPECT_EQ("pic", both->name);
    EXPECT_EQ(0, both->id);

    const ResourcePtr emptyFile = only(load(R"([{"type":"T","file":"","data":"00"}])"));
    EXPECT_EQ("", emptyFile->file);
    EXPECT_EQ("", emptyFile->data);
    EXPECT_EQ("", emptyFile->name);

    EXPECT_EQ("", only(load(R"([{"type":"T","file":"a/b.png","name":""}])"))->name);
    EXPECT_EQ("image", only(load(R"([{"type":"T","file":"image.png"}])"))->name);
}

TEST(ResourceLoader, DataStringOrObject)
{
    const ResourcePtr hex = only(load(R"([{"type":"T","data":"0a0b"}])"));
    EXPECT_EQ("0a0b", hex->data);
    EXPECT_FALSE(hex->dataObject);

    Loaded object = load(R"([{"type":"PiPL","data":{"Name":"x"}}])");
    const ResourcePtr pipl = only(std::move(object));
    ASSERT_TRUE(pipl->dataObject);
    EXPECT_EQ(kel::json::Node::TypeObject, pipl->dataObject->nodeType());
    // The record keeps the description alive after the document is gone.
    kel::utils::AutoNode name(pipl->dataObject->member("Name"));
    ASSERT_TRUE(name);
    EXPECT_EQ("x", name->stringValue());
}

TEST(ResourceLoader, IdIsRoundedThenRangeChecked)
{
    EXPECT_EQ(10000, only(load(R"([{"type":"T","file":"f","id":9999.5}])"))->id);
    EXPECT_EQ(32767, only(load(R"([{"type":"T","file":"f","id":32767}])"))->id);
    for (const char* id : {"9999.4", "32768", "4294977296", "-4294957296", "\"12000\"", "null"}) {
        Loaded bad = load(std::string(R"([{"type":"T","file":"f"},{"type":"T","file":"f","id":)")
                          + id + "}]");
        EXPECT_EQ(statusIdBad, bad.status) << id;
        EXPECT_EQ("Error: \"id\" member must be of type number and in the range "
                  "10000-32767(other values are reserved) at array index 1\n",
                  bad.err)
            << id;
    }
}

std::string unnumberedEntries(int count)
{
    std::string json = "[";
    for (int i = 0; i < count; ++i)
        json += i ? ",{\"type\":\"T\",\"data\":\"\"}" : "{\"type\":\"T\",\"data\":\"\"}";
    return json + "]";
}

TEST(ResourceLoader, LastFreeIdOfATypeThroughTheWholeRun)
{
    OutputPaths paths;
    OutputTexts texts;
    Diagnostics lastFree;
    EXPECT_EQ(statusSuccess,
              buildOutputsFromText(unnumberedEntries(22768), paths, texts, lastFree));
    EXPECT_EQ("", lastFree.text());

    Diagnostics oneTooMany;
    EXPECT_EQ(statusTooManyIds,
              buildOutputsFromText(unnumberedEntries(22769), paths, texts, oneTooMany));
    EXPECT_EQ("Error: too many resources of type T; IDs are limited to the range "
              "10000-32767(other values are reserved)\n",
              oneTooMany.text());
    EXPECT_EQ(statusTooManyIds, oneTooMany.status());
}

/// Every record of the table on one line each, in table order, every field spelt out.
std::string describe(const ResourcesByType& byType)
{
    std::string text;
    for (const auto& [type, resources] : byType)
        for (const ResourcePtr& r : resources)
            text += type + "|" + r->type + "|" + r->file + "|" + r->data + "|"
                    + (r->dataObject ? kel::json::serialize(r->dataObject.get()) : "-") + "|"
                    + std::to_string(r->id) + "|" + r->name + "|" + r->define + "|"
                    + std::to_string(r->entryIndex) + "\n";
    return text;
}

/// What a load ends with: its status, its messages and its records.
std::string outcome(int status, const Diagnostics& diagnostics, const ResourcesByType& byType)
{
    return std::to_string(status) + "\n" + diagnostics.text() + describe(byType);
}

/// Loads each root element from its node, as the loader did before it read entries from the
/// parser's events: the reference the event loader is held to.
class TreeLoader : public kel::json::TreeBuilder
{
public:
    TreeLoader(ResourcesByType& byType, Diagnostics& diagnostics)
        : byType(byType), diagnostics(diagnostics)
    {
    }
    int status = 0;

protected:
    bool keepRootElement(kel::json::Node* element) override
    {
        const unsigned int index = next++;
        if (status == 0 || (diagnostics.collecting() && !diagnostics.stopping())) {
            const int loaded = loadResource(element, index, byType, diagnostics);
            status = status ? status : loaded;
        }
        return false;
    }

private:
    ResourcesByType& byType;
    Diagnostics& diagnostics;
    unsigned int next = 0;
};

template <typename Loader>
std::string loadedBy(const std::string& json, Diagnostics::Mode mode)
{
    ResourcesByType byType;
    Diagnostics diagnostics(mode);
    Loader loader(byType, diagnostics);
    const bool parsed = kel::json::parseEvents(json, loader);
    kel::utils::AutoNode root(loader.takeRoot());
    const std::string rootText = root ? kel::json::serialize(root.get()) : "null";
    if constexpr (std::is_same_v<Loader, TreeLoader>)
        return (parsed ? "parsed " : "rejected ") + rootText + "\n"
               + outcome(loader.status, diagnostics, byType);
    else
        return (parsed ? "parsed " : "rejected ") + rootText + "\n"
               + outcome(loader.status(), diagnostics, byType);
}

TEST(ResourceLoader, EntriesReadFromEventsLoadAsTheirNodesDo)
{
    const char* const documents[] = {
        R"([{"type":"a","Type":"b","TYPE":"c","file":"f"}, {"TYPE":"c","Type":"b","file":"f"}])",
        R"([{"TYPE":"T","FILE":"x/f.png","ID":12000,"NAME":"N","DEFINE":"D","file":"y/g.png"}])",
        R"([{"type":"T","type":"U","file":"a","file":"b","File":"c","data":"00"}])",
        R"([{"type":"T","file":"dir/pic.png","data":7}, {"type":"T","file":"","data":"00"}])",
        R"([{"type":"PiPL","data":{"Name":"x","List":[1,{"k":null}]},"Data":"00"}])",
        R"([{"type":"PiPL","Data":{"a":1},"data":{"b":[2.5]},"DATA":{}}])",
        R"([{"type":"PiPL","data":{"a":1},"data":{"b":2},"x":{"data":{"c":3}}}])",
        R"([{"type":["PNGI"],"file":"f"}, {"type":{"t":1},"file":"f"}])",
        R"([{"type":"T","file":["f"]}, {"type":"T","data":[1]}, {"type":"T"}])",
        R"([{"type":"T","data":"00","id":9999.5}, {"type":"T","data":"00","id":9999.4}])",
        R"([{"type":"T","data":"00","id":"12000"}, {"type":"T","data":"00","id":12000.0}])",
        R"([{"type":"T","data":"00","id":1000000000000000000000000000000000000000.0}])",
        R"([{"type":"T","data":"00","id":-.5}, {"type":"T","data":"00","Id":true}])",
        R"([{"type":"T","data":"00","name":null}, {"type":"T","data":"00","define":5}])",
        R"([{"type":"T","data":"00","name":"x\"y"}, {"type":"T\"","data":"00"}])",
        R"([{"type":"","data":"00"}, {"type":"BEGIN","data":"00"}, {"type":"T","define":"9"}])",
        R"([5, "x", null, [1, {"type":"T","data":"00"}], {"type":"T","data":"00"}])",
        R"([{}, {"unknown":{"deep":[[[{"type":"T"}]]]},"type":"T","data":"00"}])",
        R"([{"type":"T","data":"00"} {"type":"U","data":"01"}, {1}, {"type":"V" 2}])",
        R"([{"type":"T","data":"00"}] [{"type":"late","data":"00"}] {"type":"x"})",
        R"({"type":"T","data":"00"})",
        R"("just a string")",
        R"([{"type":"T","data":"00"}, 5 :])",
        R"([{"type":"T","data":"00","x":[}])",
        R"([{"type":"T","data":"00"}, {"type":"T","data":"0)",
        R"([[{"type":"T","data":"00"}], {"a":{"type":"T","data":"00"}}])",
        R"([{"type":"T","file":"a/b.png"},{"Type":"T","File":"c.png","Name":"n","Define":"N"}])",
    };
    for (const char* document : documents)
        for (Diagnostics::Mode mode : {Diagnostics::Mode::firstError, Diagnostics::Mode::collect})
            EXPECT_EQ(loadedBy<TreeLoader>(document, mode), loadedBy<ResourceLoader>(document, mode))
                << document;
}

}  // namespace
}  // namespace kel::rez
