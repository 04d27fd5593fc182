// Shared helpers of the batch tests: a scratch folder, files in and out, and
// the batch run in-process with its streams captured.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch.h"

namespace batch::testing {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "payslip-batch-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
        path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }
    const std::filesystem::path &path() const { return path_; }
    // Names of everything in the folder, hidden temporaries included.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RunOutput {
    int code = 0;
    std::string out;
    std::string err;
};

inline RunOutput RunBatch(const Options &options)
{
    std::ostringstream out, err;
    RunOutput r;
    r.code = Run(options, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// A staff list's text run in-process with JSON Lines out: the result, the
// refused rows as reported one by one, and the JSON text.
struct ExecuteOutput {
    Result result;
    std::vector<Refusal> refused;
    std::string json;
};

inline ExecuteOutput ExecuteStaff(const ScratchDir &dir, const std::string &staff, Options options = {})
{
    options.input = dir.File("staff.csv");
    options.json = true;
    WriteFile(options.input, staff);
    ExecuteOutput out;
    Hooks hooks;
    std::ostringstream json;
    hooks.json = &json;
    hooks.refused = [&out](const Refusal &r) { out.refused.push_back(r); };
    out.result = Execute(options, hooks);
    out.json = json.str();
    return out;
}

inline std::vector<nlohmann::json> JsonLines(const std::string &text)
{
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

// The lines of a text, line ends removed.
inline std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> Split(const std::string &line, char separator)
{
    std::vector<std::string> cells(1);
    for (char c : line) {
        if (c == separator) cells.emplace_back();
        else cells.back() += c;
    }
    return cells;
}

// Whether the UTF-8 text holds a letter of the Arabic alphabet (U+0621 to U+064A).
// What a shell command prints on its standard output.
inline std::string CommandOutput(const std::string &command)
{
    std::string text;
    if (std::FILE *pipe = ::popen(command.c_str(), "r")) {
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) text.append(block, got);
        ::pclose(pipe);
    }
    return text;
}

inline bool HasArabicLetters(const std::string &text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((lead & 0xE0) != 0xC0 || (next & 0xC0) != 0x80) continue;
        const unsigned code = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
        if (code >= 0x621 && code <= 0x64A) return true;
    }
    return false;
}

} // namespace batch::testing
