#include "driver/Pipeline.h"

#include <utility>

#include "common/ExitStatus.h"
#include "keljsonParse.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceNumbering.h"
#include "strict/StrictCheck.h"

namespace kel::rez {

namespace {

/// Parses the text and loads each entry as soon as it is complete. A syntax error anywhere
/// is what the run reports, so the problems of the entries stay in diagnostics, unprinted,
/// until the parse has ended, and are dropped for it. The text is given up to the parser, so
/// that a hex string as long as the input keeps its buffer, and let go once it is parsed.
int __parseAndLoad(std::string& inputText, ResourcesByType& resourcesByType,
                   Diagnostics& diagnostics)
{
    ResourceLoader loader(resourcesByType, diagnostics);
    const bool parsed = kel::json::parseEvents(std::move(inputText), loader);
    std::string().swap(inputText);
    kel::utils::AutoRC<kel::json::Node> root(loader.takeRoot());
    if (!parsed || !root) {
        diagnostics.clear();
        return diagnostics.failWith(statusUnparsableJson, "JSON input could not be parsed");
    }
    if (root->nodeType() != kel::json::Node::TypeArray) {
        diagnostics.clear();
        return diagnostics.failWith(statusRootNotArray,
                                    "Root JSON node is expected to be of type array");
    }
    return loader.status();
}

}  // namespace

int buildOutputsFromText(std::string inputText, const OutputPaths& paths, OutputTexts& texts,
                         Diagnostics& diagnostics,
                         const std::optional<std::string>& strictInputName,
                         const std::string* writtenText, OutputFiles* files)
{
    std::optional<StrictCheck> strict;
    if (strictInputName) {
        const std::string& checkedText = writtenText ? *writtenText : inputText;
        diagnostics.setInput(*strictInputName, checkedText);
        strict.emplace();
        if (int status = strict->checkBeforeLoading(checkedText, diagnostics))
            return status;
        // The problems found from here on are placed where the check found their values.
        diagnostics.setPlaceFinder(
            [places = strict->places()](const Place& where) { return places.offsetOf(where); });
    }
    ResourcesByType resourcesByType;
    if (int status = __parseAndLoad(inputText, resourcesByType, diagnostics))
        return status;
    if (int status = assignResourceIds(resourcesByType, diagnostics))
        return status;
    if (strict)
        if (int status = strict->checkAfterNumbering(resourcesByType, diagnostics))
            return status;
    return buildOutputs(resourcesByType, paths, texts, diagnostics, files);
}

}  // namespace kel::rez
