// Why each line of the slip is what it is: a recalculation asked for a trace
// fills one explanation per line from the very amounts it read and wrote.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "paycalc/fields.h"

namespace paycalc {

// An amount quoted in a computation, with the field it was read from.
struct Quoted {
    std::string amount;
    std::optional<Field> field;
};

struct Explanation {
    std::string rule;    // the rule in words, in Arabic
    std::string formula; // the arithmetic with the amounts used, written left to right
                         // (× ÷ + −, % for hundredths, parentheses); empty for a table lookup
    std::string result;  // the amount shown
    std::vector<Quoted> quoted;
    // What a pay slip states beside the line, when it states anything: the
    // base the rule applied to and the rate ("498 نقطة" at "× 45").
    std::string base;
    std::string rate;
};

// The index points of the grid behind base pay and the experience allowance.
struct GridPoints {
    int base = 0;
    int echelon = 0;
};

class Trace {
public:
    GridPoints points; // as the run looked them up
    const Explanation *Find(Field f) const
    {
        const auto &line = lines_[static_cast<std::size_t>(f)];
        return line ? &*line : nullptr;
    }
    void Set(Field f, Explanation e) { lines_[static_cast<std::size_t>(f)] = std::move(e); }
    void Clear()
    {
        lines_ = {};
        points = {};
    }

private:
    std::array<std::optional<Explanation>, kFieldCount> lines_;
};

// The explanation as one text: the rule, then the computation and its result.
std::string ExplanationText(const Explanation &e);

} // namespace paycalc
