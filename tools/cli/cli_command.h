#pragma once
// Subcommands of kalvera-cli register themselves here; main() dispatches on the
// first argument. Exit status: 0 success, 1 the data could not be loaded,
// 2 a usage error.

#include <string>
#include <vector>

namespace kalvera::cli {

// What `kalvera-cli help` shows of a command comes from the manual's table
// (manual/program_pages.cpp), under the same name.
struct CliCommand {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
};

struct CliRegistrar {
    explicit CliRegistrar(const CliCommand& command);
};

const std::vector<CliCommand>& Commands();

// Print "kalvera-cli: <message>" on standard error and return the exit status:
// 2 for a usage error, 1 when the data could not be loaded.
int UsageError(const std::string& message);
int LoadFailure(const std::string& message);

}  // namespace kalvera::cli
