// The family-status rule: a single employee (family status 0, "عازب") has no
// children counted, so both children counts are held at 0. Every front end
// applies or checks the rule through this unit and keeps no copy of it.
// It decides only: no wording of a refusal, no Qt, no reading of input.
#pragma once

#include <span>
#include <string_view>

#include "paycalc/fields.h"

namespace paycalc {

class PayForm;
struct Situation;

// A list the rule holds, and the position it holds it at.
struct HeldList {
    int list;
    int position;
};

// The lists the rule holds while Combo1(5), the family status, stands at
// `statusPosition`: both children lists at 0 while single, none otherwise.
std::span<const HeldList> FamilyStatusRuleHolds(int statusPosition);
// The same for the family status a form shows.
std::span<const HeldList> FamilyStatusRuleHolds(const PayForm& form);

// Whether Combo1(list) of the situation stands away from where the rule
// holds it (a single employee with a count of children above 0 in it).
bool BreaksFamilyStatusRule(const Situation& situation, int list);
// Whether any list of the situation does.
bool BreaksFamilyStatusRule(const Situation& situation);

// Puts every list the rule holds at its held position, as picking "single"
// in the window does. Returns whether anything changed.
bool ApplyFamilyStatusRule(Situation& situation);

// Why a situation that breaks the rule cannot be shown, in English.
inline constexpr std::string_view kFamilyStatusRuleProblem = "a single employee has no children counted";

} // namespace paycalc
