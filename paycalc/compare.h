// The questions asked of two or more slips: what changes from one situation
// to another, how much back pay a late change is worth, the career ladder of
// a category, and whether an official slip agrees with ours. Every amount
// here is a line of a slip that RecalculateAll computed, or the difference,
// product or sum of such lines taken with ReadAmount and shown with
// ShowAmount; no pay rule is applied a second time.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paycalc/slip.h"

namespace paycalc {

// after - before, each read as shown, the difference shown with ShowAmount
// (a minus sign on a negative difference). Throws paydata::ConversionError
// when an amount cannot be read or the difference overflows.
std::string Difference(const std::string &before, const std::string &after);
// The same for two lines: empty when either is missing or the difference
// cannot be shown.
std::string LineDifferenceOf(const std::string &before, const std::string &after);

struct LineDifference {
    Field field;
    std::string before;
    std::string after;
    std::string difference; // empty when either slip lacks the line
};

struct Comparison {
    Slip before;
    Slip after;
    // One entry per computed line, in the order of kComputedFields.
    std::vector<LineDifference> lines;

    bool ok() const { return before.ok() && after.ok(); }
    const LineDifference &Line(Field f) const;
};

// Two slips, one recalculation each, and every line's difference.
Comparison Compare(const Situation &before, const Situation &after, bool explain = false);

inline constexpr int kMaxBackPayMonths = 120;

// What a change that took effect `months` months late is owed: each month is
// computed with the monthly scale (no special tax treatment of back pay).
struct BackPay {
    int months = 0;
    int quarters = 0;            // whole bonus periods (quarters) in `months`
    std::string netDifference;   // net pay after - before, one month
    std::string bonusDifference; // performance bonus after - before, one quarter
    std::string monthly;         // netDifference x months
    std::string bonus;           // bonusDifference x quarters
    std::string total;           // monthly + bonus
};

// Throws std::invalid_argument for months outside 1..kMaxBackPayMonths or a
// comparison whose slips are incomplete, and paydata::ConversionError when a
// product overflows.
BackPay ComputeBackPay(const Comparison &comparison, int months);

// The slip at every echelon of the situation's category.
struct LadderStep {
    int echelon = 0;
    Slip slip;
    std::string netStep; // net pay minus that of the echelon before; empty at echelon 0 or after a failed slip
};

struct Ladder {
    Situation situation;               // the situation asked about
    std::vector<LadderStep> steps;     // echelons 0..12, in order
    std::optional<Slip> categoryAbove; // the same echelon one category up, when there is one
};

Ladder ComputeLadder(const Situation &situation, bool withCategoryAbove = true);

// An amount typed from an official slip, for one line.
struct OfficialAmount {
    Field field;
    std::string amount;
};

struct CheckedLine {
    Field field;
    std::string ours;
    std::string theirs;      // as typed
    std::string difference;  // theirs - ours
    bool agrees = false;     // both read to the same cents
    std::string explanation; // how we computed our amount
};

struct CheckReport {
    Slip slip;
    std::vector<CheckedLine> lines; // in the order given
    bool allAgree() const;
};

// Throws std::invalid_argument when a field is not a computed line.
CheckReport CheckOfficial(const Situation &situation, const std::vector<OfficialAmount> &official);

} // namespace paycalc
