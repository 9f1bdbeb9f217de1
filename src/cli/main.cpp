#include "Command.h"

#include "core/Error.h"
#include "core/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <iostream>

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

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return args.empty() ? 2 : 0;
    }
    const auto& commands = mz::cli::Commands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.Name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "Nieznane polecenie: " << args[0] << "\n\n";
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
        std::cerr << e.Message << "\nUżycie: mirakolnik-cli " << it->Usage << "\n";
        return 2;
    } catch (const std::filesystem::filesystem_error& e) {
        // The library's own text is English; the user reads the system's error in Polish.
        std::cerr << (e.path1().empty() ? std::string() : e.path1().string() + ": ") << mz::SystemErrorText(e.code())
                  << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << mz::SystemErrorText(ENOMEM) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
