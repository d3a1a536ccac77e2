#include "driver/Pipeline.h"

#include "common/ExitStatus.h"
#include "strict/StrictCheck.h"
#include "keljsonParse.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceNumbering.h"

namespace kel::rez {

namespace {

/// Parses the text and loads each entry as soon as it is complete. A syntax error anywhere
/// is what the run reports, so a bad entry's message is held until the parse has ended.
/// The text is let go as soon as it is parsed.
int __parseAndLoad(std::string& inputText, ResourcesByType& resourcesByType)
{
    ResourceLoader loader(resourcesByType);
    bool parsed = false;
    std::string loadingMessages;
    {
        ErrorCapture heldMessages;
        parsed = kel::json::parseEvents(inputText, loader);
        loadingMessages = heldMessages.take();
    }
    std::string().swap(inputText);
    kel::utils::AutoRC<kel::json::Node> root(loader.takeRoot());
    if (!parsed || !root)
        return failWith(statusUnparsableJson, "JSON input could not be parsed");
    if (root->nodeType() != kel::json::Node::TypeArray)
        return failWith(statusRootNotArray, "Root JSON node is expected to be of type array");
    printErrorLines(loadingMessages);
    return loader.status();
}

}  // namespace

int buildOutputsFromText(std::string inputText, const OutputPaths& paths, OutputTexts& texts,
                         const std::optional<std::string>& strictInputName,
                         const std::string* writtenText, OutputFiles* files)
{
    std::optional<StrictCheck> strict;
    if (strictInputName) {
        const std::string& checkedText = writtenText ? *writtenText : inputText;
        strict.emplace(*strictInputName, checkedText);
        if (int status = strict->checkBeforeLoading(checkedText))
            return status;
    }
    ResourcesByType resourcesByType;
    if (int status = __parseAndLoad(inputText, resourcesByType))
        return status;
    if (int status = assignResourceIds(resourcesByType))
        return status;
    if (strict)
        if (int status = strict->checkAfterNumbering(resourcesByType))
            return status;
    return buildOutputs(resourcesByType, paths, texts, files);
}

}  // namespace kel::rez
