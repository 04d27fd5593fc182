#include "paycalc/situation.h"

#include <array>
#include <stdexcept>

#include "paycalc/situation_inputs.h"

namespace paycalc {

namespace {

// The member behind each list, by list index; the category's holds the
// category's number, its position plus one.
constexpr std::array<int Situation::*, kComboCount> kListMembers{&Situation::category, &Situation::echelon,
                                                                 &Situation::children, &Situation::overTen,
                                                                 &Situation::post,     &Situation::status,
                                                                 &Situation::spouse};

int Situation::*ListMember(int list)
{
    if (list < 0 || list >= kComboCount) throw std::out_of_range("no such list");
    return kListMembers[static_cast<std::size_t>(list)];
}

} // namespace

int Situation::ListPosition(int list) const { return this->*ListMember(list) - (list == kCategoryList ? 1 : 0); }

void Situation::SetListPosition(int list, int position)
{
    this->*ListMember(list) = position + (list == kCategoryList ? 1 : 0);
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
    static constexpr std::array<int, 2> kChildrenLists{kChildrenList, kOverTenList};
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
