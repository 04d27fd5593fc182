// Generated situations for the property tests of slips, comparisons, the
// career ladder and the command line.
#pragma once

#include <random>
#include <string>

#include "paycalc/situation.h"

namespace testdata {

// "12345.67", from 0 to maxWhole.99.
inline std::string TypedAmount(std::mt19937 &random, int maxWhole)
{
    const int whole = std::uniform_int_distribution<int>(0, maxWhole)(random);
    const int cents = std::uniform_int_distribution<int>(0, 99)(random);
    return std::to_string(whole) + "." + (cents < 10 ? "0" : "") + std::to_string(cents);
}

// Any situation the window can show, typed amounts included.
inline paycalc::Situation RandomSituation(std::mt19937 &random)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    paycalc::Situation s;
    s.category = pick(1, 17);
    s.echelon = pick(0, 12);
    s.post = pick(0, 10);
    s.status = pick(0, 3) != 0 ? 1 : 0;
    s.children = s.married() ? pick(0, 12) : 0;
    s.overTen = s.married() ? pick(0, s.children) : 0;
    s.spouse = pick(0, 1);
    s.mutual = pick(0, 1) == 1;
    s.zone = pick(0, 2) ? TypedAmount(random, 20000) : "0";
    s.housing = pick(0, 2) ? TypedAmount(random, 20000) : "0";
    s.absence = std::to_string(pick(0, 31)) + (pick(0, 1) ? ".5" : "");
    s.mark = std::to_string(pick(0, 40));
    return s;
}

// The situation with one to three of its choices drawn afresh: the pairs a
// person compares usually differ in a few choices, not in all of them.
inline paycalc::Situation RandomChange(std::mt19937 &random, paycalc::Situation s)
{
    const paycalc::Situation other = RandomSituation(random);
    const int changes = std::uniform_int_distribution<int>(1, 3)(random);
    for (int i = 0; i < changes; ++i) {
        switch (std::uniform_int_distribution<int>(0, 8)(random)) {
        case 0: s.category = other.category; break;
        case 1: s.echelon = other.echelon; break;
        case 2: s.post = other.post; break;
        case 3:
            s.status = other.status;
            s.children = other.children;
            s.overTen = other.overTen;
            break;
        case 4: s.spouse = other.spouse; break;
        case 5: s.mutual = other.mutual; break;
        case 6: s.zone = other.zone; break;
        case 7: s.housing = other.housing; break;
        default:
            s.absence = other.absence;
            s.mark = other.mark;
            break;
        }
    }
    if (!s.married()) s.children = s.overTen = 0;
    return s;
}

} // namespace testdata
