#pragma once

#include <functional>
#include <string>
#include <vector>

namespace mz::cli {

using Args = std::vector<std::string>;

// One sub-command of the command-line tool. Each lives in its own source file
// and registers itself with a static TCommandRegistration.
struct TCommand {
    std::string Name;
    std::string Usage;       // one line: "show PLIK"
    std::string Description; // one line, Polish
    std::function<int(const Args&)> Run;
};

std::vector<TCommand>& Commands();

struct TCommandRegistration {
    explicit TCommandRegistration(TCommand command) { Commands().push_back(std::move(command)); }
};

// Thrown for a wrong command line; main prints the message and the usage.
struct EUsage {
    std::string Message;
};

// Small helpers for option parsing shared by the commands.
long long ParseInteger(const std::string& text, const std::string& option);

} // namespace mz::cli
