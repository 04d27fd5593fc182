// An employee's situation, as the window's inputs hold it: the positions of
// the seven lists, the mutual-insurance box and the four typed texts. Its
// slip is slip.h's.
#pragma once

#include <span>
#include <string>

#include "paycalc/fields.h"

namespace paycalc {

// A fresh situation is the window at start-up: its lists' selections, its
// check box and the typed fields' first texts.
struct Situation {
    int category = kStartupSelection[kCategoryList] + 1; // grade category 1..17: Combo1(0) at position category - 1
    int echelon = kStartupSelection[kEchelonList];       // 0..12: Combo1(1)
    int post = kStartupSelection[kPostList];             // row 0..10 of the specific-post table, 0 = none: Combo1(4)
    int children = kStartupSelection[kChildrenList];     // 0..12: Combo1(2)
    int overTen = kStartupSelection[kOverTenList];       // 0..12: Combo1(3)
    int status = kStartupSelection[kFamilyStatusList];   // Combo1(5): 0 single ("عازب"), 1 married ("متزوج")
    int spouse = kStartupSelection[kSpouseList];     // Combo1(6): 0 at home ("ماكثة"), 1 working ("عاملة")
    bool mutual = kMutualTickedAtStartup;            // Check1
    std::string zone{InitialText(Field::Text10)};    // Text10, as typed
    std::string housing{InitialText(Field::Text11)}; // Text11, as typed
    std::string absence{InitialText(Field::Text20)}; // Text20, as typed
    std::string mark{InitialText(Field::Text23)};    // Text23, as typed

    bool single() const { return status == 0; }
    bool married() const { return status != 0; }
    bool spouseWorking() const { return spouse != 0; }

    // The selected position of Combo1(list), and the reverse.
    int ListPosition(int list) const;
    void SetListPosition(int list, int position);
    // The typed text of Text10, Text11, Text20 or Text23.
    const std::string &Typed(Field f) const;
    std::string &Typed(Field f);

    // Why the window could never show this situation (a list position out of
    // its list, or single with a children count above 0), in English; empty
    // when it could.
    std::string Problem() const;

    bool operator==(const Situation &) const = default;
};

// The family-status rule: a single employee (family status 0) has no
// children counted. The lists it holds at position 0 while the family-status
// list stands at `statusPosition`: both children lists while single, none otherwise.
std::span<const int> ListsHeldAtZero(int statusPosition);
// Whether the situation is single with a children count above 0.
bool BreaksFamilyStatusRule(const Situation &situation);
// Holds a single employee's children counts at 0, as picking "single" in the
// window does. Returns whether anything changed.
bool ApplyFamilyStatusRule(Situation &situation);

} // namespace paycalc
