// Runs the batch library from a shell, with the options the command line's
// batch subcommand takes: for the tests of exit codes and streams, and for
// trying the examples.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "batch/batch.h"

int main(int argc, char **argv)
{
    batch::Options options;
    options.progress = ::isatty(STDERR_FILENO) != 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "batch-driver: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--out") options.out = value();
        else if (arg == "--json") options.json = true;
        else if (arg == "--pdf") options.pdf = value();
        else if (arg == "--summary") options.summary = true;
        else if (arg == "--errors") options.errors = value();
        else if (arg == "--as-typed") options.asTyped = true;
        else if (arg == "--threads") options.threads = static_cast<unsigned>(std::stoul(value()));
        else if (arg == "--no-progress") options.progress = false;
        else if (!arg.starts_with("--") && options.input.empty()) options.input = std::string(arg);
        else {
            std::cerr << "batch-driver: unknown option '" << arg << "'\n";
            return 2;
        }
    }
    if (options.input.empty()) {
        std::cerr << "usage: batch-driver STAFF.csv [--out FILE] [--json] [--pdf FILE] [--summary] [--errors FILE] [--as-typed]\n";
        return 2;
    }
    return batch::Run(options, std::cout, std::cerr);
}
