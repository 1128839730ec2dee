#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "common/error_text.h"
#include "manual/manual_page.h"

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

int LoadFailure(const std::string& message) {
    std::fprintf(stderr, "kalvera-cli: %s\n", message.c_str());
    return 1;
}

}  // namespace kalvera::cli

#ifndef KALVERA_VERSION
#define KALVERA_VERSION "unknown"
#endif

namespace {

using kalvera::manual::CliPage;

int Help(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(UsageText(CliPage()).c_str(), stdout);
        return 0;
    }
    const kalvera::manual::Command* command = FindCommand(CliPage(), args[0]);
    if (args.size() > 1 || command == nullptr) {
        return kalvera::cli::UsageError("no command '" + args[0] + "' (see kalvera-cli help)");
    }
    std::fputs(CommandUsageText(CliPage(), *command).c_str(), stdout);
    return 0;
}

int Run(int argc, char** argv) {
    using namespace kalvera::cli;
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("kalvera-cli %s\n", KALVERA_VERSION);
        return 0;
    }
    if (argc < 2) {
        std::fputs(UsageText(CliPage()).c_str(), stderr);
        return 2;
    }
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "help" || name == "--help") return Help(args);
    for (const CliCommand& command : Commands()) {
        if (name == command.name) return command.run(args);
    }
    return UsageError("unknown command '" + name + "' (see kalvera-cli help)");
}

// An answer that did not reach its reader is a failure like any other: a
// script must not take a cut-off JSON or table for the whole one.
int WithOutputChecked(int status) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && std::ferror(stdout) == 0) return status;
    const int code = errno;
    std::fprintf(stderr, "kalvera-cli: cannot write the standard output%s%s\n", code ? ": " : "",
                 code ? kalvera::ErrorText(code).c_str() : "");
    return status == 0 ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
    return WithOutputChecked(Run(argc, argv));
}
