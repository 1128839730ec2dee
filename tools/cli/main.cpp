#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"

namespace kalvera::cli {

namespace {
std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}
}  // namespace

CliRegistrar::CliRegistrar(const CliCommand& command) {
    Registry().push_back(command);
}

const std::vector<CliCommand>& Commands() {
    return Registry();
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "kalvera-cli: %s\n", message.c_str());
    return 2;
}

}  // namespace kalvera::cli

#ifndef KALVERA_VERSION
#define KALVERA_VERSION "unknown"
#endif

int main(int argc, char** argv) {
    using namespace kalvera::cli;
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("kalvera-cli %s\n", KALVERA_VERSION);
        return 0;
    }
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        std::printf("usage: kalvera-cli COMMAND ...\n");
        for (const CliCommand& command : Commands()) std::printf("  %s\n", command.usage);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const CliCommand& command : Commands()) {
        if (name == command.name)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    return UsageError("unknown command '" + name + "' (see kalvera-cli help)");
}
