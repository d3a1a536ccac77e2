// Throughput of the resource side of a run, without parsing or files: the two hex emitters
// on one 64 MiB data string, and numbering plus the output pass over 60,000 resources.
//
//     output_bench
//
// Prints one line per case: input size, best time of three runs and MB/s of input.
#include "output/OutputPass.h"
#include "output/ResourceScriptText.h"
#include "output/RezText.h"
#include "resources/ResourceNumbering.h"

#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string hexData(std::size_t digits)
{
    static const char hex[] = "0123456789abcdefABCDEF";
    std::string data(digits, '0');
    unsigned int state = 1;
    for (char& digit : data) {
        state = state * 1103515245u + 12345u;
        digit = hex[(state >> 16) % 22];
    }
    return data;
}

/// 20,000 each of PNG icons with variants, named SVG files and numbered data files.
kel::rez::ResourcesByType manyResources(std::size_t& inputBytes)
{
    kel::rez::ResourcesByType byType;
    inputBytes = 0;
    const char* variants[] = {"", "@2x", "@3x", "@4x"};
    for (int i = 0; i < 20000; ++i) {
        auto png = std::make_unique<kel::rez::Resource>();
        png->type = "PNGI";
        png->name = "icon_" + std::to_string(i / 4) + variants[i % 4];
        png->file = "images/toolbar/" + png->name + ".png";
        png->define = "ICON_" + std::to_string(i);
        auto svg = std::make_unique<kel::rez::Resource>();
        svg->type = "SVG";
        svg->name = "Shape_" + std::to_string(i);
        svg->file = "art/vector/shape_" + std::to_string(i) + ".svg";
        auto text = std::make_unique<kel::rez::Resource>();
        text->type = "TEXT";
        text->file = "data/tables/table_" + std::to_string(i) + ".bin";
        text->id = static_cast<std::int16_t>(10000 + i);
        for (kel::rez::ResourcePtr* resource : {&png, &svg, &text}) {
            inputBytes +=
                (*resource)->file.size() + (*resource)->name.size() + (*resource)->define.size();
            byType[(*resource)->type].push_back(std::move(*resource));
        }
    }
    return byType;
}

}  // namespace

int main()
{
    kel::rez::Resource big;
    big.type = "PNGI";
    big.id = 12000;
    big.name = "Big_Image";
    const std::string data = hexData(64u * 1024 * 1024);

    report("__processByteStrMac, 64 MiB of hex", data.size(), bestOfThree([&] {
               kel::rez::StreamedText out;
               kel::rez::Diagnostics diagnostics;
               kel::rez::__processByteStrMac(big, data, out, diagnostics);
               return out.size();
           }));
    report("__processByteStrWin (by ID and name), 64 MiB", data.size(), bestOfThree([&] {
               kel::rez::StreamedText out;
               kel::rez::Diagnostics diagnostics;
               kel::rez::__processByteStrWin(big, data, out, true, diagnostics);
               return out.size();
           }));

    // Each run numbers a fresh table, built before the clock starts.
    std::size_t inputBytes = 0;
    std::vector<kel::rez::ResourcesByType> tables;
    for (int i = 0; i < 3; ++i)
        tables.push_back(manyResources(inputBytes));
    report("numbering + output pass, 60,000 resources", inputBytes, bestOfThree([&] {
               kel::rez::ResourcesByType byType = std::move(tables.back());
               tables.pop_back();
               kel::rez::OutputPaths paths;
               paths.header = paths.idToFile = paths.mac = paths.windows = "unused";
               kel::rez::OutputTexts texts;
               kel::rez::Diagnostics diagnostics;
               if (kel::rez::assignResourceIds(byType, diagnostics) != 0
                   || kel::rez::buildOutputs(byType, paths, texts, diagnostics) != 0)
                   return std::size_t(0);
               return texts.headerText.size() + texts.idToFileText.size() + texts.macText.size()
                      + texts.winText.size();
           }));
    return 0;
}
