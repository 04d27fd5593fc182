#include "paycalc/family_status_rule.h"

#include <array>

#include "paycalc/pay_form.h"
#include "paycalc/situation.h"

namespace paycalc {

namespace {

constexpr int kSingle = 0; // Combo1(5) at "عازب"

constexpr std::array<HeldList, 2> kSingleHolds{{{kChildrenList, 0}, {kOverTenList, 0}}};

} // namespace

std::span<const HeldList> FamilyStatusRuleHolds(int statusPosition)
{
    if (statusPosition == kSingle) return kSingleHolds;
    return {};
}

std::span<const HeldList> FamilyStatusRuleHolds(const PayForm& form)
{
    return FamilyStatusRuleHolds(form.ListIndex(kFamilyStatusList));
}

bool BreaksFamilyStatusRule(const Situation& situation, int list)
{
    for (const HeldList& held : FamilyStatusRuleHolds(situation.status))
        if (held.list == list) return situation.ListPosition(list) != held.position;
    return false;
}

bool BreaksFamilyStatusRule(const Situation& situation)
{
    for (const HeldList& held : FamilyStatusRuleHolds(situation.status))
        if (situation.ListPosition(held.list) != held.position) return true;
    return false;
}

bool ApplyFamilyStatusRule(Situation& situation)
{
    bool changed = false;
    for (const HeldList& held : FamilyStatusRuleHolds(situation.status)) {
        if (situation.ListPosition(held.list) == held.position) continue;
        situation.SetListPosition(held.list, held.position);
        changed = true;
    }
    return changed;
}

} // namespace paycalc
