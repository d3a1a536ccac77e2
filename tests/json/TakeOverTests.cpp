// A text given up to the parser: a string that is most of it keeps the text's buffer, and
// the events stay those of a text that is only read.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "keljsonEvents.h"
#include "keljsonParse.h"

using kel::json::Node;

namespace {

// Every event as one line, and where each string value's characters lie.
class Recorder : public kel::json::ParseEvents
{
public:
    std::vector<std::string> events;
    std::vector<const char*> stringData;
    std::vector<std::string> strings;  // kept, so that their buffers stay theirs

    void beginContainer(Node::Type type, const std::string& name) override
    {
        events.push_back((type == Node::TypeArray ? "[" : "{") + name);
    }
    void endContainer() override { events.push_back("end"); }
    void nullValue(const std::string& name) override { events.push_back("null " + name); }
    void boolValue(const std::string& name, bool value) override
    {
        events.push_back((value ? "true " : "false ") + name);
    }
    void intValue(const std::string& name, std::int64_t value) override
    {
        events.push_back("int " + name + " " + std::to_string(value));
    }
    void floatValue(const std::string& name, double value) override
    {
        events.push_back("float " + name + " " + std::to_string(value));
    }
    void stringValue(const std::string& name, std::string&& value) override
    {
        events.push_back("str " + name + " " + value);
        strings.push_back(std::move(value));
        stringData.push_back(strings.back().data());
    }
};

struct Parsed {
    bool accepted;
    std::vector<std::string> events;
};

Parsed readOnly(const std::string& text)
{
    Recorder recorder;
    const bool accepted = kel::json::parseEvents(text, recorder);
    return {accepted, recorder.events};
}

Parsed givenUp(std::string text)
{
    Recorder recorder;
    const bool accepted = kel::json::parseEvents(std::move(text), recorder);
    return {accepted, recorder.events};
}

const std::string hex(4096, 'a');

}  // namespace

TEST(ParseTakeOver, eventsAreThoseOfTheTextReadInPlace)
{
    const std::vector<std::string> texts = {
        "[{\"type\":\"PNGI\",\"data\":\"" + hex + "\",\"id\":12000}, {\"b\":[1.5,null]}] [2]",
        "[\"" + hex + "\" \"x\", 3]",
        "{\"" + hex + "\":\"v\",\"k\":\"" + hex + "\"}",
        "[{\"data\":\"" + hex + "\\\"q\"}]",   // an escaped quote: unescaped as a copy
        "[\"" + hex,                            // no closing quote: still rejected
        "[\"" + hex + "\" ]]",                  // an error after the string
        "\"" + hex + "\"",                      // a lone string
        "[1, \"short\", {\"a\":\"b\"}]",
    };
    for (const std::string& text : texts) {
        const Parsed expected = readOnly(text);
        const Parsed actual = givenUp(text);
        EXPECT_EQ(expected.accepted, actual.accepted) << text.substr(0, 40);
        EXPECT_EQ(expected.events, actual.events) << text.substr(0, 40);
    }
}

TEST(ParseTakeOver, aStringThatIsMostOfTheTextKeepsItsBuffer)
{
    std::string text = "[{\"type\":\"PNGI\",\"data\":\"" + hex + "\"}]";
    const char* buffer = text.data();
    Recorder recorder;
    ASSERT_TRUE(kel::json::parseEvents(std::move(text), recorder));
    ASSERT_EQ(2u, recorder.strings.size());
    EXPECT_EQ(hex, recorder.strings[1]);
    EXPECT_EQ(buffer, recorder.stringData[1]);  // not copied: the text's own characters
    EXPECT_NE(buffer, recorder.stringData[0]);
}

TEST(ParseTakeOver, aTextThatIsOnlyReadIsLeftAsItWas)
{
    const std::string text = "[\"" + hex + "\"]";
    const std::string copy = text;
    Recorder recorder;
    ASSERT_TRUE(kel::json::parseEvents(text, recorder));
    EXPECT_EQ(copy, text);
    EXPECT_NE(text.data(), recorder.stringData[0]);
}
