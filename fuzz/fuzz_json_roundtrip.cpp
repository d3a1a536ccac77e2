// Parses arbitrary text, serializes the tree, parses that text again and checks that the
// second tree serializes to the same text. Any crash, leak, sanitizer report or mismatch
// is a finding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "keljsonParse.h"

namespace {

using kel::json::Node;

// Values the text form cannot carry back unchanged: a floating value that prints as -0 or
// as an integer too wide for 64 bits (it reads back as an integer), and a string whose
// last byte is a backslash (only a scalar document without its closing quote holds one;
// written out, that backslash escapes the closing quote).
bool isLossyScalar(const Node& node)
{
    if (node.nodeType() == Node::TypeNumber) {
        double value = node.doubleValue();
        return (value == 0 && std::signbit(value)) || value >= 9.2e18 || value <= -9.2e18
               || (value < 0 && value > -5e-16);
    }
    if (node.nodeType() == Node::TypeString) {
        std::string text = node.stringValue();
        return !text.empty() && text.back() == '\\';
    }
    return false;
}

// Walks the tree with an explicit stack: documents may nest deeper than the call stack.
bool holdsLossyValue(const Node* root)
{
    std::vector<const Node*> pending{root};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (isLossyScalar(*node))
            return true;
        if (const auto* elements = node->elements())
            pending.insert(pending.end(), elements->begin(), elements->end());
        if (const auto* members = node->members())
            for (const auto& member : *members)
                pending.push_back(member.second);
    }
    return false;
}

void failWithTexts(const char* what, const std::string& first, const std::string& second)
{
    std::fprintf(stderr, "%s\nfirst:  %s\nsecond: %s\n", what, first.c_str(), second.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    kel::utils::AutoRC<Node> first(kel::json::parse(text));
    if (!first)
        return 0;
    for (bool pretty : {false, true}) {
        const std::string firstText = kel::json::serialize(first.get(), pretty);
        kel::utils::AutoRC<Node> second(kel::json::parse(firstText));
        if (!second)
            failWithTexts("serialized text does not parse", text, firstText);
        const std::string secondText = kel::json::serialize(second.get(), pretty);
        if (secondText == firstText)
            continue;
        if (!holdsLossyValue(first.get()))
            failWithTexts("round trip changed the text", firstText, secondText);
        // A lossy value settles after one round: from then on the text must be stable.
        kel::utils::AutoRC<Node> third(kel::json::parse(secondText));
        if (!third || kel::json::serialize(third.get(), pretty) != secondText)
            failWithTexts("round trip does not settle", firstText, secondText);
    }
    return 0;
}
