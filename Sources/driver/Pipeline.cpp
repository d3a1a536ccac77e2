#include "driver/Pipeline.h"

#include "common/ExitStatus.h"
#include "strict/StrictCheck.h"
#include "keljsonParse.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceNumbering.h"

namespace kel::rez {

int buildOutputsFromText(std::string inputText, const OutputPaths& paths, OutputTexts& texts,
                         const std::optional<std::string>& strictInputName)
{
    std::optional<StrictCheck> strict;
    if (strictInputName) {
        strict.emplace(*strictInputName, inputText);
        if (int status = strict->checkBeforeLoading(inputText))
            return status;
    }
    kel::utils::AutoRC<kel::json::Node> root(kel::json::parse(inputText));
    // The text and then the tree are let go as soon as they are used up, so that a large
    // document is not held three times over while the output texts grow.
    std::string().swap(inputText);
    if (!root)
        return failWith(statusUnparsableJson, "JSON input could not be parsed");
    if (root->nodeType() != kel::json::Node::TypeArray)
        return failWith(statusRootNotArray, "Root JSON node is expected to be of type array");

    ResourcesByType resourcesByType;
    if (int status = loadResources(*root.get(), resourcesByType))
        return status;
    root.reset();  // each resource holds its own reference on what it still needs
    if (int status = assignResourceIds(resourcesByType))
        return status;
    if (strict)
        if (int status = strict->checkAfterNumbering(resourcesByType))
            return status;
    return buildOutputs(resourcesByType, paths, texts);
}

}  // namespace kel::rez
