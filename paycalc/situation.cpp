#include "paycalc/situation.h"

#include <stdexcept>

#include "paycalc/situation_inputs.h"

namespace paycalc {

int Situation::ListPosition(int list) const
{
    switch (list) {
    case kCategoryList: return category - 1;
    case kEchelonList: return echelon;
    case kChildrenList: return children;
    case kOverTenList: return overTen;
    case kPostList: return post;
    case kFamilyStatusList: return status;
    case kSpouseList: return spouse;
    default: throw std::out_of_range("no such list");
    }
}

void Situation::SetListPosition(int list, int position)
{
    switch (list) {
    case kCategoryList: category = position + 1; break;
    case kEchelonList: echelon = position; break;
    case kChildrenList: children = position; break;
    case kOverTenList: overTen = position; break;
    case kPostList: post = position; break;
    case kFamilyStatusList: status = position; break;
    case kSpouseList: spouse = position; break;
    default: throw std::out_of_range("no such list");
    }
}

const std::string &Situation::Typed(Field f) const
{
    switch (f) {
    case Field::Text10: return zone;
    case Field::Text11: return housing;
    case Field::Text20: return absence;
    case Field::Text23: return mark;
    default: throw std::out_of_range("not a typed field");
    }
}

std::string &Situation::Typed(Field f)
{
    return const_cast<std::string &>(static_cast<const Situation &>(*this).Typed(f));
}

std::string Situation::Problem() const
{
    for (int list = 0; list < kComboCount; ++list) {
        const SituationInput &range = InputOfList(list);
        const int value = ListValue(*this, range);
        if (value < range.low || value > range.high)
            return std::string(range.name) + " must be from " + std::to_string(range.low) + " to " +
                   std::to_string(range.high) + ", not " + std::to_string(value);
    }
    if (BreaksFamilyStatusRule(*this)) return "a single employee has no children counted";
    return {};
}

std::span<const int> ListsHeldAtZero(int statusPosition)
{
    if (statusPosition == 0) return kChildrenLists;
    return {};
}

bool BreaksFamilyStatusRule(const Situation &s) { return s.single() && (s.children != 0 || s.overTen != 0); }

bool ApplyFamilyStatusRule(Situation &s)
{
    const bool changed = BreaksFamilyStatusRule(s);
    for (int list : ListsHeldAtZero(s.status)) s.SetListPosition(list, 0);
    return changed;
}

} // namespace paycalc
