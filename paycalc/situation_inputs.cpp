#include "paycalc/situation_inputs.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "paycalc/situation.h"
#include "paydata/text_rules.h"

namespace paycalc {

namespace {

// Whether `text` is `word` (lower-case ASCII) in any case.
bool Is(std::string_view text, std::string_view word)
{
    const auto lower = [](char c, char w) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == w; };
    return !word.empty() && std::equal(text.begin(), text.end(), word.begin(), word.end(), lower);
}

bool ReadWhole(std::string_view text, int low, int high, int &out)
{
    if (text.empty() || text.size() > 3 || text[0] == '-' || text[0] == '+') return false;
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high) return false;
    out = value;
    return true;
}

std::string WithRange(std::string_view rule, int low, int high)
{
    std::string text(rule);
    for (const auto &[mark, value] : {std::pair{std::string_view("{low}"), low}, {"{high}", high}})
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), std::to_string(value));
    return text;
}

void SetValue(Situation &s, const SituationInput &input, int value)
{
    if (input.input == Input::Mutual) s.mutual = value != 0;
    else if (input.list == kCategoryList) s.category = value;
    else s.SetListPosition(input.list, value);
}

} // namespace

std::string_view CaptionOf(const SituationInput &input)
{
    return input.caption.empty() ? FieldCaption(input.field) : input.caption;
}

std::string_view TitleOf(const SituationInput &input) { return paydata::Trim(CaptionOf(input), " \t:"); }

Label LabelOf(const SituationInput &input) { return IsTyped(input) ? LineLabel(input.field) : input.label; }

std::string_view TermOf(const SituationInput &input) { return IsTyped(input) ? FieldTerm(input.field) : input.term; }

Wording RuleOf(const SituationInput &input) { return RuleOf(input.rule, input.low, input.high); }

Wording RuleOf(const RuleText &rule, int low, int high)
{
    return {WithRange(rule.english, low, high), WithRange(rule.arabic, low, high), WithRange(rule.french, low, high)};
}

const SituationInput &InputOfList(int list)
{
    for (const SituationInput &input : kSituationInputs)
        if (input.list == list && list >= 0) return input;
    throw std::out_of_range("no such list");
}

const SituationInput *FindInput(std::string_view name)
{
    const auto same = [](char given, char own) { return given == own || (given == '_' && own == '-'); };
    for (const SituationInput &input : kSituationInputs)
        if (std::equal(name.begin(), name.end(), input.name.begin(), input.name.end(), same)) return &input;
    return nullptr;
}

int ListValue(const Situation &situation, const SituationInput &input)
{
    if (input.input == Input::Mutual) return situation.mutual ? 1 : 0;
    if (input.list < 0) throw std::out_of_range("not a list input");
    return input.list == kCategoryList ? situation.category : situation.ListPosition(input.list);
}

std::string_view InputText(const SituationInput &input, const Situation &situation, std::array<char, 8> &digits)
{
    if (IsTyped(input)) return situation.Typed(input.field);
    const int value = ListValue(situation, input);
    if (!input.words[0].empty()) return input.words[value != 0 ? 1 : 0];
    const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return {digits.data(), static_cast<std::size_t>(res.ptr - digits.data())};
}

std::string InputText(const SituationInput &input, const Situation &situation)
{
    std::array<char, 8> digits;
    return std::string(InputText(input, situation, digits));
}

std::string ShownText(const SituationInput &input, const Situation &situation)
{
    if (IsTyped(input)) return situation.Typed(input.field);
    const int value = ListValue(situation, input);
    if (!input.shown[0].empty()) return std::string(input.shown[value != 0 ? 1 : 0]);
    const std::vector<std::string> &entries = ComboEntries(input.list);
    const int position = situation.ListPosition(input.list);
    if (position < 0 || position >= static_cast<int>(entries.size()) ||
        entries[static_cast<std::size_t>(position)].empty())
        return "—";
    return entries[static_cast<std::size_t>(position)];
}

bool ReadInput(const SituationInput &input, std::string_view text, Situation &s, bool strict)
{
    const std::string_view t = paydata::Trim(text);
    if (IsTyped(input)) {
        if (strict && !paydata::IsDecimal(t, input.input == Input::Mark)) return false;
        s.Typed(input.field).assign(strict ? t : text);
        return true;
    }
    int value = 0;
    if (!input.words[0].empty()) {
        const std::vector<std::string> &entries = ComboEntries(input.list);
        const auto is = [t](std::string_view word) { return !word.empty() && t == word; };
        for (value = 0; value < 2; ++value) {
            const auto v = static_cast<std::size_t>(value);
            if (Is(t, input.words[v]) || is(input.shown[v]) || (v < entries.size() && t == entries[v]) ||
                is(input.also[v][0]) || is(input.also[v][1]))
                break;
        }
        if (value == 2) return false;
    } else if (input.input == Input::Post && t.empty()) {
        value = 0; // the list's empty first entry: no specific post
    } else if (!ReadWhole(t, input.low, input.high, value)) {
        if (input.input != Input::Post) return false;
        const auto &posts = paydata::kSpecificPosts;
        for (value = 1; value < paydata::kPostCount && t != posts[static_cast<std::size_t>(value)].title; ++value) {
        }
        if (value == paydata::kPostCount) return false;
    }
    SetValue(s, input, value);
    return true;
}

std::vector<ValueProblem> ReadValues(std::span<const GivenValue> given, Situation &s, bool strict)
{
    std::vector<ValueProblem> problems;
    for (const GivenValue &value : given)
        if (!ReadInput(*value.input, value.text, s, strict)) problems.push_back({value.input, std::string(value.text)});
    // The family-status rule holds a single employee's children counts at 0:
    // a count not given takes the rule's value; a count given against it is
    // a slip the window can never show.
    if (s.single()) {
        for (const GivenValue &value : given)
            if (value.input->list >= 0 && s.ListPosition(value.input->list) != 0 &&
                (value.input->input == Input::Children || value.input->input == Input::OverTen))
                problems.push_back({value.input, std::string(value.text), true});
    }
    ApplyFamilyStatusRule(s);
    return problems;
}

Wording Refusal(const ValueProblem &problem)
{
    const std::string quoted = "'" + problem.text + "'";
    if (problem.familyRule) {
        const std::string count(paydata::Trim(problem.text));
        return {"a single employee has no children counted, not " + count,
                "الموظف الأعزب لا يحسب له أولاد، لا '" + count + "'",
                "un célibataire ne compte pas d'enfants, pas " + count};
    }
    const SituationInput &in = *problem.input;
    const Wording rule = RuleOf(in);
    const std::string term(TermOf(in));
    return {"the " + term + " is " + rule.english + ", not " + quoted,
            std::string(LabelOf(in).arabic) + " " + rule.arabic + "، لا " + quoted,
            std::string(LabelOf(in).french) + " : " + rule.french + ", pas " + quoted};
}

} // namespace paycalc
