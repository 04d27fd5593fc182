// The questions asked of two or more slips: what changes from one situation
// to another, how much back pay a late change is worth, the career ladder of
// a category, and whether an official slip agrees with ours. Every amount
// here is a line of a slip that RecalculateAll computed, or the difference,
// product or sum of such lines taken with ReadAmount and shown with
// ShowAmount; no pay rule is applied a second time.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
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

inline constexpr int kMinBackPayMonths = 1;
inline constexpr int kMaxBackPayMonths = 120;
inline constexpr int kDefaultBackPayMonths = 1; // the command line's and the page's

// Months of back pay as typed on a command line or in a link: a whole number
// from kMinBackPayMonths to kMaxBackPayMonths, digits only; nothing for any other text.
std::optional<int> ReadBackPayMonths(std::string_view text);
// Why a text is not a number of months, in the three languages.
Wording MonthsRefusal(std::string_view text);

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

// Throws std::invalid_argument for months outside kMinBackPayMonths..kMaxBackPayMonths or a
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

// The lines a ladder shows of each echelon's slip, beside its step of net pay.
inline constexpr std::array<Field, 4> kLadderColumns{Field::Text21, Field::Text3, Field::Text15, Field::Text22};

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

// Why a LINE=AMOUNT of an official slip is not taken.
enum class OfficialProblem { None, NotALine, NotAnAmount, Twice };

// Reads one LINE=AMOUNT of an official slip, as the command line's --official
// and a link's official.LINE take it, and adds it to `official`. LINE is a
// computed line's field name (Text21) or readable name (net_pay); AMOUNT is
// written as a printed slip shows it: digits, optionally a point and more
// digits, optionally a minus sign before, within what an amount can be. No
// thousands separator, no letters: a typing mistake must not pass for an
// amount. A line already in `official` is refused.
OfficialProblem ReadOfficialAmount(std::string_view line, std::string_view amount, std::vector<OfficialAmount> &official);
// The problem in the three languages, as a link's refusal says it.
Wording OfficialRefusal(OfficialProblem problem, std::string_view amount);

// Throws std::invalid_argument when a field is not a computed line.
CheckReport CheckOfficial(const Situation &situation, const std::vector<OfficialAmount> &official);

} // namespace paycalc
