// Typed text documents in both modes, as configuration and plug-in
// manifests are read; what parses is written back as text.
#include <string>

#include "FuzzTarget.h"
#include "base/MKDocNode.h"
#include "base/MKDocParser.h"
#include "base/MKDocWriter.h"

namespace {

const char* const kSeeds[] = {
    R"({"name": "Vistello", "size": [1, 2.5, -3e10, 0.000001], "ok": true, "none": null,
        "text": "tab\t quote\" slash\\ unicode \u00e9\u20AC", "nested": {"a": {"b": [[], {}]}}})",
    R"(// extended form
       settings = {
           version = Version("1.2.3.4"); id = Guid("{12345678-1234-1234-1234-123456789ABC}");
           when = DateTime("2024-05-06"); flags = 0x7FFFFFFF; big = 12345678901234567890L;
           ratio = 1.5F; exact = 2.25D; /* block comment */ path = @"C:\folder\file.txt";
           home = "$home\\docs"; cost = "$$5"; list = [one, two, three,];
       })",
    R"([1, 2, 3, {"k": [true, false, null]}, "end"])",
    R"({"deep": [[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]], "e": 1.7976931348623157e308, "m": -9223372036854775808})",
};

void AddSeeds(const std::wstring&, std::vector<FuzzInput>& seeds)
{
    for (const char* text : kSeeds)
        seeds.push_back({std::vector<uint8_t>(text, text + strlen(text)), "document"});
}

void Run(const FuzzInput& input)
{
    const std::string text(input.bytes.begin(), input.bytes.end());
    for (bool extended : {false, true}) {
        MKDocParser parser(extended);
        if (extended)
            parser.SetVariable(MKString(L"home"), MKString(L"C:\\Users\\fuzz"));
        MKDocNode* node = parser.ParseDocument(text.c_str());
        if (!node)
            continue;
        MKDocToText(*node, extended);
        delete node;
    }
}

}  // namespace

const FuzzTarget& DocumentTarget()
{
    static const FuzzTarget target = {"document", AddSeeds, Run, nullptr};
    return target;
}
