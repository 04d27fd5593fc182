#include "worked_examples.h"

#include <fstream>
#include <stdexcept>

namespace testdata {

std::string DataPath(const std::string &name) { return std::string(PAYSLIP_TEST_DATA) + "/" + name; }

std::vector<std::string> SplitWords(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

namespace {
paycalc::Field FieldOrThrow(const std::string &name, const std::string &where)
{
    paycalc::Field f{};
    if (!paycalc::ParseFieldName(name, f)) throw std::runtime_error(where + ": unknown field " + name);
    return f;
}
} // namespace

std::vector<SlipCase> ReadSlipCases(const std::string &path)
{
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<SlipCase> cases;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("== ", 0) == 0) {
            cases.push_back(SlipCase{line.substr(3), path, number, {}, {}, {}, {}});
            continue;
        }
        if (cases.empty()) throw std::runtime_error(where + ": line before the first case");
        SlipCase &c = cases.back();
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        const std::string key = words[0];
        words.erase(words.begin());
        if (key == "args:") {
            c.args.insert(c.args.end(), words.begin(), words.end());
        } else if (key == "set:") {
            for (const std::string &w : words) {
                auto eq = w.find('=');
                if (eq == std::string::npos) throw std::runtime_error(where + ": expected Field=text");
                c.preset.emplace_back(FieldOrThrow(w.substr(0, eq), where), w.substr(eq + 1));
            }
        } else if (key == "run:") {
            c.groups.insert(c.groups.end(), words.begin(), words.end());
        } else if (words.size() == 1) {
            c.expect.emplace_back(FieldOrThrow(key, where), words[0]);
        } else {
            throw std::runtime_error(where + ": cannot read '" + line + "'");
        }
    }
    return cases;
}

} // namespace testdata
