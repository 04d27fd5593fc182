// The pay rules of January 2016, as data: the point value, every rate, fixed
// amount and category band the computation uses, and the monthly income-tax
// scale. The computation and the explanation of each line both read them from
// here, so a rule's number is written once; another year's rules would be
// another instance of Rules. The index-point grid, the flat allowances and the
// specific posts are reference tables of paydata/tables.h.
#pragma once

#include <array>
#include <limits>
#include <string_view>

namespace paycalc {

// Rates are kept as the percentages the rules state (9 for 9 %) and reach the
// arithmetic as Rate(percent), percent / 100: for a whole percentage that
// division gives the very double of the decimal rate (9 / 100 == 0.09).
inline constexpr double kPercentBase = 100;

constexpr double Rate(double percent) { return percent / kPercentBase; }

// One bracket of the monthly income-tax scale: for a scale base up to
// `upTo`, the tax is (base - lower) x factor / step + fixed (none when exempt),
// where step is the scale's IrgScale::step: factor is the tax on each step.
struct IrgBracket {
    double upTo;
    double lower;
    double factor;
    double fixed;
    bool exempt;
};

struct IrgScale {
    double step;                        // the taxable amount is cut down to a multiple of this before the scale applies
    std::array<IrgBracket, 5> brackets; // in rising order; every bound belongs to the bracket below it
};

struct Rules {
    double pointValue; // dinars per index point: base pay and the experience allowance

    double pedagogicalPercentPerEchelon; // pedagogical experience, % of base pay per echelon

    int documentationLowLastCategory;                 // documentation allowance: categories up to this one...
    double documentationLow;                          // ...get this amount
    std::array<int, 2> documentationMiddleCategories; // these two categories...
    double documentationMiddle;                       // ...get this amount
    int documentationHighFirstCategory;               // categories from this one on...
    double documentationHigh;                         // ...get this amount

    double newAllowancePercent; // new allowance, % of main pay

    int qualificationLowLastCategory; // qualification allowance: categories up to this one...
    double qualificationLowPercent;   // ...get this % of main pay
    double qualificationHighPercent;  // the categories above get this %

    double socialSecurityPercent; // social-security contribution, % of the pay subject to it
    IrgScale incomeTax;           // monthly income tax (IRG) on the taxable amount
    double mutualPercent;         // mutual-insurance contribution of a member, % of the pay subject to social security

    double childAllowance;                  // family allowance for each child up to the full-rate count
    double fullRateChildren;                // how many children get the full amount
    std::string_view fullRateChildrenWords; // that count in words, with the article ("the five")
    std::string_view fullRateChildOrdinal;  // the last full-rate child as an ordinal ("the fifth")
    double childAllowanceBeyond;            // family allowance for each child beyond the full-rate count
    double olderChildAllowance;             // added for each child above the age below
    double olderChildAge;                   // the age in years a child must be above

    double singleWage; // single-wage allowance: married, spouse at home

    double daysInMonth;                // the absence deduction is this fraction of the pay per day...
    std::string_view daysInMonthWords; // ...in words, as in "one part of thirty"

    double bonusFullMark;              // performance bonus: the mark is out of this
    double bonusMonths;                // the months of pay one bonus covers
    std::string_view bonusMonthsWords; // that number of months in words
    double bonusPercent;               // % of that pay the bonus is at the full mark
    double bonusFinalFactor;           // the final factor the bonus is multiplied by

    // The family allowance of the full-rate children together.
    constexpr double FullRateChildrenAllowance() const { return fullRateChildren * childAllowance; }
};

inline constexpr Rules kJanuary2016{
    .pointValue = 45,

    .pedagogicalPercentPerEchelon = 4,

    .documentationLowLastCategory = 10,
    .documentationLow = 2000,
    .documentationMiddleCategories = {11, 12},
    .documentationMiddle = 2500,
    .documentationHighFirstCategory = 13,
    .documentationHigh = 3000,

    .newAllowancePercent = 15,

    .qualificationLowLastCategory = 12,
    .qualificationLowPercent = 40,
    .qualificationHighPercent = 45,

    .socialSecurityPercent = 9,
    .incomeTax =
        {
            .step = 10,
            // up to, lower bound, tax on each step above it, tax of the brackets below, exempt
            .brackets = {{
                {15000, 0, 0, 0, true},
                {22500, 15000, 2, 0, false},
                {28750, 22500, 1.2, 1500, false},
                {30000, 28750, 2, 2250, false},
                {std::numeric_limits<double>::infinity(), 30000, 3, 2500, false},
            }},
        },
    .mutualPercent = 1,

    .childAllowance = 300,
    .fullRateChildren = 5,
    .fullRateChildrenWords = "الخمسة",
    .fullRateChildOrdinal = "الخامس",
    .childAllowanceBeyond = 150,
    .olderChildAllowance = 11.25,
    .olderChildAge = 10,

    .singleWage = 800,

    .daysInMonth = 30,
    .daysInMonthWords = "ثلاثين",

    .bonusFullMark = 40,
    .bonusMonths = 3,
    .bonusMonthsWords = "ثلاثة",
    .bonusPercent = 40,
    .bonusFinalFactor = 0.819,
};

} // namespace paycalc
