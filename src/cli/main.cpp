#include "Command.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/PrintableText.h"
#include "core/SystemError.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace mz::cli {

std::vector<TCommand>& Commands()
{
    static std::vector<TCommand> commands;
    return commands;
}

long long ParseInteger(const std::string& text, const std::string& option)
{
    long long value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        throw EUsage{"Niepoprawna liczba dla " + option + ": " + text};
    return value;
}

} // namespace mz::cli

namespace {

void PrintHelp(std::ostream& out)
{
    auto commands = mz::cli::Commands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    out << "mirakolnik-cli - narzędzie wiersza poleceń programu Mirakolnik Zodevidar\n\n"
           "Użycie: mirakolnik-cli POLECENIE [ARGUMENTY]\n\nPolecenia:\n";
    for (const auto& c : commands)
        out << "  " << c.Usage << "\n      " << c.Description << "\n";
    out << "\n  --help  wyświetla tę pomoc\n";
}

// Ctrl+C (or a kill) during a save: the temporary file goes, the target stays
// as it was, and the user reads why the tool ended. Only calls that are safe
// in a signal handler.
extern "C" void OnInterrupt(int signal)
{
    mz::RemoveOpenTemporaries();
    static constexpr char message[] = "przerwano\n";
#ifdef _WIN32
    static_cast<void>(std::fputs(message, stderr));
#else
    static_cast<void>(::write(STDERR_FILENO, message, sizeof message - 1));
#endif
    std::_Exit(128 + signal);
}

// Messages quote file names and file contents: nothing of them may act on the terminal.
void PrintError(const std::string& message)
{
    std::cerr << mz::PrintableUtf8(message) << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return args.empty() ? 2 : 0;
    }
    const auto& commands = mz::cli::Commands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.Name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "Nieznane polecenie: " << mz::PrintableUtf8(args[0]) << "\n\n";
        PrintHelp(std::cerr);
        return 2;
    }
    const mz::cli::Args rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        std::cout << "Użycie: mirakolnik-cli " << it->Usage << "\n" << it->Description << "\n";
        return 0;
    }
    try {
        return it->Run(rest);
    } catch (const mz::cli::EUsage& e) {
        PrintError(e.Message + "\nUżycie: mirakolnik-cli " + it->Usage);
        return 2;
    } catch (const std::filesystem::filesystem_error& e) {
        // The library's own text is English; the user reads the system's error in Polish.
        PrintError((e.path1().empty() ? std::string() : e.path1().string() + ": ") + mz::SystemErrorText(e.code()));
        return 1;
    } catch (const std::bad_alloc&) {
        PrintError(mz::SystemErrorText(ENOMEM));
        return 1;
    } catch (const std::exception& e) {
        PrintError(e.what());
        return 1;
    }
}
