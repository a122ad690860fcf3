#include "cli/CliOptions.h"

#include <charconv>
#include <cmath>

namespace kobalto::cli {

const char* const kUsage =
    "kobalto-cli " KOBALTO_VERSION "\n"
    "Usage:\n"
    "  kobalto-cli shrink [--percent N] [--out DIR] [--keep-going] [-j N] FILE...\n"
    "      Shrinks each FILE as a drop on the window would, in order, into DIR\n"
    "      (default: the Kobalto folder on the desktop). Files above 2000 KB are\n"
    "      scaled to 2000 KB worth of pixels and smaller ones copied, unless\n"
    "      --percent gives a scale of 10 to 99 percent for every file.\n"
    "      A FILE without an accepted image extension (a folder, a .txt) is\n"
    "      skipped with a line on standard error. The first file that fails\n"
    "      ends the run with status 1; with --keep-going (-k) it is reported\n"
    "      and the rest are still shrunk, and the status is 1 if any failed.\n"
    "      With -j N (--jobs N; default: the number of cores) N files are\n"
    "      shrunk at once; outputs, report lines and failures are as with -j 1.\n"
    "      -j 1 keeps to one core; otherwise a large JPEG shrunk alone may be\n"
    "      decoded on two.\n"
    "  kobalto-cli convert [--factor F] [--smooth] IN OUT\n"
    "      Loads IN, scales it by F (default 1: same size) with the plain\n"
    "      stretch or, with --smooth, the smooth B-spline filter, and writes OUT\n"
    "      in the format its extension names.\n"
    "  kobalto-cli --help\n"
    "  kobalto-cli --version\n";

namespace {

bool ParseFactor(const std::string& text, double& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value > 0;
}

bool ParseJobs(const std::string& text, unsigned& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 1 && value <= 1024;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args)
{
    Options o;
    if (args.empty())
        throw UsageError{"no command given"};
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1)
            throw UsageError{"--help takes no arguments"};
        return o;
    }
    if (args[0] == "--version") {
        if (args.size() > 1)
            throw UsageError{"--version takes no arguments"};
        o.command = Options::Command::Version;
        return o;
    }
    const std::string& command = args[0];
    std::vector<std::string> positional;
    auto value = [&](size_t& i) -> const std::string& {
        if (i + 1 >= args.size())
            throw UsageError{args[i] + " needs a value"};
        return args[++i];
    };
    bool endOfOptions = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (endOfOptions || a.empty() || a[0] != '-' || a == "-") {
            positional.push_back(a);
        } else if (a == "--") {
            endOfOptions = true;
        } else if (command == "shrink" && a == "--percent") {
            o.percent = value(i);
        } else if (command == "shrink" && a == "--out") {
            o.outDir = value(i);
        } else if (command == "shrink" && (a == "--keep-going" || a == "-k")) {
            o.keepGoing = true;
        } else if (command == "shrink" && (a == "-j" || a == "--jobs" || a.starts_with("-j"))) {
            const std::string n = a.size() > 2 && a[1] == 'j' ? a.substr(2) : value(i);
            if (!ParseJobs(n, o.jobs))
                throw UsageError{"-j needs a number of files from 1 to 1024, not '" + n + "'"};
        } else if (command == "convert" && a == "--factor") {
            const std::string& f = value(i);
            if (!ParseFactor(f, o.factor))
                throw UsageError{"--factor needs a positive number, not '" + f + "'"};
        } else if (command == "convert" && a == "--smooth") {
            o.smooth = true;
        } else {
            throw UsageError{"unknown option '" + a + "' for " + command};
        }
    }
    if (command == "shrink") {
        if (positional.empty())
            throw UsageError{"shrink needs at least one FILE"};
        o.command = Options::Command::Shrink;
        o.files = positional;
    } else if (command == "convert") {
        if (positional.size() != 2)
            throw UsageError{"convert needs exactly IN and OUT"};
        o.command = Options::Command::Convert;
        o.input = positional[0];
        o.output = positional[1];
    } else {
        throw UsageError{"unknown command '" + command + "'"};
    }
    return o;
}

}  // namespace kobalto::cli
