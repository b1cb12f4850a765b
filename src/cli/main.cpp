#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(chmbook::platform::FromUtf8(argv[i]));
    const chmbook::cli::Environment environment{
        chmbook::platform::ProgramFolder(), {},
        chmbook::LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))};
    return chmbook::cli::Run(arguments, environment, std::cout, std::cerr);
}
