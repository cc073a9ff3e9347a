// Prints the reading the program must show for a finished test, line by line, as plain text
// copied out of the reading view gives it (a picture is U+FFFC alone on its line).
// Arguments: one "chakra=count" per tested chakra, e.g. "0=4 3=8".
#include "RuneCorrespondence.h"
#include "modVeyloom.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

using namespace modVeyloom;

int main(int argc, char *argv[])
{
    LoadCatalogue();
    std::map<int, int> counts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto equals = arg.find('=');
        if (equals == std::string::npos)
            return 2;
        counts[std::atoi(arg.substr(0, equals).c_str())] = std::atoi(arg.substr(equals + 1).c_str());
    }
    std::string out;
    auto line = [&](std::string_view text) {
        out.append(text);
        out += '\n';
    };
    for (const auto &[chakra, count] : counts) {
        const std::string name(ChakraNames[chakra]);
        if (count >= 3 && count <= 5) {
            line(name + " is Open");
            line(OpenStateTexts[chakra]);
            line("");
            line("Your Chosen Chakra is open. There is no Corresponding Runes Card.");
            line("");
            continue;
        }
        const bool under = count <= 2;
        line(name + (under ? " is Underactive" : " is Overactive"));
        line(under ? UnderActiveTexts[chakra] : OverActiveTexts[chakra]);
        line("");
        for (int rune : RunesFor(chakra)) {
            line("\xEF\xBF\xBC");
            line(name);
            line("Corresponding Runes Stone: " + std::string(RuneNames[rune]));
            line(RuneMeanings[rune]);
            line(RuneReversedMeanings[rune]);
            line(RuneMerkstaveMeanings[rune]);
            line("");
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
