// The engine's one binding to the browser's page. Three functions take and
// give UTF-8 text; the page reads nothing else:
//   payslip_inputs()               the inputs, the lines and the printed page's labels, as JSON;
//   payslip_slip(fragment, explain) the answer of a link's fragment, as JSON: the slip of its
//                                   situation, with each line's explanation when `explain` is
//                                   not 0, and the view it asks for (view=compare, ladder or
//                                   check): the comparison with its back pay, the career
//                                   ladder, or an official slip checked against ours;
//   payslip_accepts(field, text)   whether a typed field takes an inserted text.
// Every amount, caption, list entry, range and rule comes from the engine;
// this file only reads the fragment and writes JSON.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/compare.h"
#include "paycalc/key_rules.h"
#include "paycalc/page_labels.h"
#include "paycalc/recalculate.h"
#include "paycalc/situation_inputs.h"
#include "paycalc/slip.h"
#include "paydata/text_rules.h"

namespace {

using paycalc::Field;

// JSON written as it goes into a text kept from call to call (its room is
// reused): objects, arrays, keys and strings, commas between.
class Json {
public:
    explicit Json(std::string &out) : out_(out) { out_.clear(); }
    Json &Open(char bracket) { return Put(std::string_view(&bracket, 1), true); }
    Json &Close(char bracket)
    {
        out_ += bracket;
        first_ = false;
        return *this;
    }
    Json &Key(std::string_view key)
    {
        String(key);
        out_ += ':';
        first_ = true;
        return *this;
    }
    // Quoted, with '"', '\\' and the control characters escaped; the rest as it is.
    Json &String(std::string_view text)
    {
        Put("\"", false);
        std::size_t plain = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x20 && c != '"' && c != '\\') continue;
            out_.append(text.substr(plain, i - plain));
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, c < 0x20 ? "\\u%04x" : "\\%c", c);
            out_ += escaped;
            plain = i + 1;
        }
        out_.append(text.substr(plain));
        out_ += '"';
        return *this;
    }
    Json &Number(int n) { return Put(std::to_string(n), false); }
    Json &Bool(bool b) { return Put(b ? "true" : "false", false); }
    Json &Null() { return Put("null", false); }
    Json &Member(std::string_view key, std::string_view text) { return Key(key).String(text); }

private:
    Json &Put(std::string_view text, bool opens)
    {
        if (!first_) out_ += ',';
        out_ += text;
        first_ = opens;
        return *this;
    }
    std::string &out_;
    bool first_ = true;
};

// A line's kind as the page names it, in LineKind's order.
constexpr std::string_view kKindNames[] = {"earning", "deduction", "subtotal", "information", "none"};

// The views a link may ask for (view=...), the slip first: the command line's commands.
enum class View { Slip, Compare, Ladder, Check };
constexpr std::string_view kViewNames[] = {"slip", "compare", "ladder", "check"};

// The link's keys of a view beside the situation's: "to.echelon=8", "months=12", "official.net_pay=43432.13".
constexpr std::string_view kToPrefix = "to.", kMonthsKey = "months", kOfficialPrefix = "official.";

bool IsComputed(Field f)
{
    return std::find(paycalc::kComputedFields.begin(), paycalc::kComputedFields.end(), f) !=
           paycalc::kComputedFields.end();
}

std::string_view InputKind(const paycalc::SituationInput &in)
{
    if (paycalc::IsTyped(in)) return "typed";
    return in.list >= 0 ? "list" : "check";
}

Json &Labelled(Json &json, std::string_view key, const paycalc::Label &label)
{
    return json.Key(key).Open('{').Member("arabic", label.arabic).Member("french", label.french).Close('}');
}

void InputsJson(std::string &out)
{
    Json json(out);
    json.Open('{').Key("inputs").Open('[');
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
        const paycalc::Label label = paycalc::LabelOf(in);
        json.Open('{').Member("name", in.name).Member("kind", InputKind(in));
        json.Member("caption", paycalc::TitleOf(in)).Member("french", label.french);
        Labelled(json, "label", label);
        // Each position of the list (or of the box): its value on the command line and its entry.
        json.Key("values").Open('[');
        paycalc::Situation s;
        const std::vector<std::string> &entries = paycalc::ComboEntries(in.list);
        const int positions = in.list >= 0 ? static_cast<int>(entries.size()) : paycalc::IsTyped(in) ? 0 : 2;
        for (int position = 0; position < positions; ++position) {
            if (in.list >= 0) s.SetListPosition(in.list, position);
            else s.mutual = position == 1;
            json.String(paycalc::InputText(in, s));
        }
        json.Close(']').Key("texts").Open('[');
        for (const std::string &entry : entries) json.String(entry);
        json.Close(']').Member("default", paycalc::InputText(in, paycalc::Situation{}));
        if (paycalc::IsTyped(in)) json.Member("field", paycalc::FieldName(in.field));
        json.Close('}');
    }
    json.Close(']').Key("lines").Open('[');
    for (Field f : paycalc::kSlipLines) {
        const paycalc::Label label = paycalc::LineLabel(f);
        json.Open('{').Member("field", paycalc::FieldName(f)).Member("name", paycalc::LineName(f));
        json.Member("kind", kKindNames[static_cast<int>(paycalc::KindOf(f))]);
        json.Member("arabic", label.arabic).Member("french", label.french).Key("computed").Bool(IsComputed(f));
        json.Close('}');
    }
    json.Close(']').Key("printed").Open('[');
    for (Field f : paycalc::PrintedLines()) json.String(paycalc::FieldName(f));
    json.Close(']').Key("views").Open('[');
    for (std::string_view view : kViewNames) json.String(view);
    json.Close(']').Key("months").Open('{').Key("low").Number(paycalc::kMinBackPayMonths);
    json.Key("high").Number(paycalc::kMaxBackPayMonths).Key("default").Number(paycalc::kDefaultBackPayMonths);
    json.Close('}').Key("ladder").Open('[');
    for (Field f : paycalc::kLadderColumns) json.String(paycalc::FieldName(f));
    json.Close(']').Key("labels").Open('{');
    for (const paycalc::PageLabel &page : paycalc::kPageLabels) Labelled(json, page.key, page.label);
    json.Close('}').Close('}');
}

// --- A situation given as a link's fragment: "category=12&echelon=3&mutual=no"

// A key or value of the link the engine has no words for, said by the page.
struct Problem {
    std::string name, text;
    paycalc::Wording message;
};

// Percent-decoding; false for a '%' not followed by two hexadecimal digits.
bool Decoded(std::string_view text, std::string &out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned byte = static_cast<unsigned char>(text[i]);
        if (byte == '%') {
            const char *digits = text.data() + i + 1;
            if (i + 3 > text.size() || std::from_chars(digits, digits + 2, byte, 16).ptr != digits + 2) return false;
            i += 2;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

// What a link asks beside its situation: a view, and that view's keys.
struct Asked {
    View view = View::Slip;
    paycalc::Situation after;                                                // the situation compared with
    std::vector<std::pair<const paycalc::SituationInput *, std::string>> to; // its changes, as given
    int months = paycalc::kDefaultBackPayMonths;
    std::vector<paycalc::OfficialAmount> official;
};

// A view's key ("view", "months", "to.echelon", "official.net_pay"): read
// into `asked`, or the problem said. False for a key of no view.
bool ReadViewKey(const std::string &key, const std::string &text, Asked &asked, std::vector<Problem> &problems)
{
    const std::string_view k(key);
    if (k == "view") {
        const auto *found = std::find(std::begin(kViewNames), std::end(kViewNames), text);
        if (found != std::end(kViewNames)) {
            asked.view = static_cast<View>(found - std::begin(kViewNames));
        } else {
            std::string names;
            for (std::string_view view : kViewNames) names += (names.empty() ? "" : ", ") + std::string(view);
            problems.push_back({key,
                                text,
                                {"not a view of the page (" + names + ")", "ليس من عروض الصفحة (" + names + ")",
                                 "pas une vue de la page (" + names + ")"}});
        }
    } else if (k == kMonthsKey) {
        if (const std::optional<int> months = paycalc::ReadBackPayMonths(text)) asked.months = *months;
        else problems.push_back({key, text, paycalc::MonthsRefusal(text)});
    } else if (k.starts_with(kOfficialPrefix)) {
        const paycalc::OfficialProblem problem = paycalc::ReadOfficialAmount(k.substr(kOfficialPrefix.size()), text,
                                                                             asked.official);
        if (problem != paycalc::OfficialProblem::None)
            problems.push_back({key, text, paycalc::OfficialRefusal(problem, text)});
    } else if (k.starts_with(kToPrefix) && paycalc::FindInput(k.substr(kToPrefix.size()))) {
        asked.to.emplace_back(paycalc::FindInput(k.substr(kToPrefix.size())), text);
    } else {
        return false;
    }
    return true;
}

// Reads the link's values into the situation with the engine's reader (the
// command line's and the batch's, the family-status rule included), and the
// view's keys into `asked`; what cannot be taken is named with why, and the
// rest is used.
std::vector<Problem> ReadFragment(std::string_view fragment, paycalc::Situation &s, Asked &asked)
{
    std::vector<Problem> problems;
    std::vector<std::pair<const paycalc::SituationInput *, std::string>> found;
    std::string key, text;
    while (!fragment.empty()) {
        const std::size_t end = std::min(fragment.find('&'), fragment.size());
        const std::string_view pair = fragment.substr(0, end);
        fragment.remove_prefix(std::min(end + 1, fragment.size()));
        if (pair.empty()) continue;
        const std::size_t eq = std::min(pair.find('='), pair.size());
        const std::string_view rawKey = pair.substr(0, eq), rawText = pair.substr(std::min(eq + 1, pair.size()));
        if (!Decoded(rawKey, key) || !Decoded(rawText, text) || !paydata::IsUtf8(key) || !paydata::IsUtf8(text)) {
            problems.push_back(
                {std::string(rawKey),
                 std::string(rawText),
                 {"not a text: a '%' that is not followed by two hexadecimal digits, or bytes that are not UTF-8",
                  "نص غير مقروء: علامة % لا يتبعها رقمان ست عشريان، أو بايتات ليست UTF-8",
                  "texte illisible : un % sans deux chiffres hexadécimaux, ou des octets hors UTF-8"}});
            continue;
        }
        if (auto control = paydata::FindControlCharacter(text, paydata::LineBreaks::Refused)) {
            const std::string code = paydata::CodeName(control->code);
            problems.push_back({key,
                                text,
                                {"a control character (" + code + ")", "حرف تحكم (" + code + ")",
                                 "un caractère de commande (" + code + ")"}});
            continue;
        }
        if (ReadViewKey(key, text, asked, problems)) continue;
        const paycalc::SituationInput *input = paycalc::FindInput(key);
        if (!input) {
            std::string names;
            for (const paycalc::SituationInput &in : paycalc::kSituationInputs)
                names += (names.empty() ? "" : ", ") + std::string(in.name);
            problems.push_back({key,
                                text,
                                {"not an input of the slip (" + names + ")", "ليس من مدخلات الكشف (" + names + ")",
                                 "pas une donnée de la fiche (" + names + ")"}});
            continue;
        }
        found.emplace_back(input, text);
    }
    std::vector<paycalc::GivenValue> given;
    for (const auto &[input, value] : found) given.push_back({input, value});
    for (const paycalc::ValueProblem &p : paycalc::ReadValues(given, s, false))
        problems.push_back({std::string(p.input->name), p.text, paycalc::Refusal(p)});
    // The situation compared with: this one with the changes, read by the same reader.
    asked.after = s;
    given.clear();
    for (const auto &[input, value] : asked.to) given.push_back({input, value});
    for (const paycalc::ValueProblem &p : paycalc::ReadValues(given, asked.after, false)) {
        problems.push_back({std::string(kToPrefix) + std::string(p.input->name), p.text, paycalc::Refusal(p)});
        std::erase_if(asked.to, [&p](const auto &change) { return change.first == p.input; });
    }
    return problems;
}

// A line's amount as shown, and with an explanation what the run stated of it.
void Line(Json &json, const paycalc::SlipLine &line)
{
    json.Open('{').Member("field", paycalc::FieldName(line.field)).Member("amount", line.amount);
    if (const paycalc::Explanation *e = line.explanation) {
        json.Member("base", line.base).Member("rate", line.rate).Member("rule", e->rule);
        json.Member("formula", e->formula).Member("result", e->result);
    }
    json.Close('}');
}

// A situation's inputs as the command line writes them and as a printed slip
// shows them, and those the family-status rule holds.
void SituationJson(Json &json, const paycalc::Situation &situation)
{
    json.Key("situation").Open('{');
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs)
        json.Member(in.name, paycalc::InputText(in, situation));
    json.Close('}').Key("shown").Open('{');
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs)
        json.Member(in.name, paycalc::ShownText(in, situation));
    json.Close('}').Key("held").Open('[');
    for (int list : paycalc::ListsHeldAtZero(situation.status)) json.String(paycalc::InputOfList(list).name);
    json.Close(']');
}

// Where a run stopped: the command line's message, and the words the window tells a person.
void ErrorJson(Json &json, const paycalc::Slip &slip)
{
    json.Key("ok").Bool(slip.ok()).Key("error");
    if (!slip.error) {
        json.Null();
        return;
    }
    const paycalc::Wording told = paycalc::StoppedMessage(*slip.error, slip.situation);
    json.Open('{').Member("field", paycalc::FieldName(paycalc::ShownLine(slip.error->step())));
    json.Member("message", paycalc::Describe(*slip.error)).Member("arabic", told.arabic).Member("french", told.french);
    json.Key("inputs").Open('[');
    // The typed input whose text could not be read, or else those the line is computed from.
    const std::optional<Field> unread = slip.error->source();
    const std::vector<Field> typed = unread && paycalc::IsTypedField(*unread) ? std::vector<Field>{*unread}
                                                                              : slip.error->TypedInputs();
    for (Field f : typed)
        for (const paycalc::SituationInput &in : paycalc::kSituationInputs)
            if (paycalc::IsTyped(in) && in.field == f) json.String(in.name);
    json.Close(']').Close('}');
}

// The window's lines of a slip, by field: {"Text1": "…", …}.
void AmountsJson(Json &json, std::string_view key, const paycalc::Slip &slip, std::span<const Field> fields)
{
    json.Key(key).Open('{');
    for (Field f : fields) json.Member(paycalc::FieldName(f), slip.Text(f));
    json.Close('}');
}

// The comparison: the situation after, every line before and after and
// their difference, and the back pay over the months asked.
void CompareJson(Json &json, const paycalc::Comparison &c, const Asked &asked)
{
    // The inputs the link changes, each with its value after (once, in the inputs' order).
    json.Key("compare").Open('{').Key("to").Open('{');
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs)
        if (std::any_of(asked.to.begin(), asked.to.end(), [&in](const auto &change) { return change.first == &in; }))
            json.Member(in.name, paycalc::InputText(in, c.after.situation));
    json.Close('}');
    SituationJson(json, c.after.situation);
    ErrorJson(json, c.after);
    json.Key("lines").Open('[');
    for (Field f : paycalc::kSlipLines) {
        const std::string &before = c.before.Text(f), &after = c.after.Text(f);
        // A typed line (the zone and housing allowances) is not among the compared lines.
        const std::string difference = IsComputed(f) ? c.Line(f).difference : paycalc::LineDifferenceOf(before, after);
        json.Open('{').Member("field", paycalc::FieldName(f)).Member("before", before).Member("after", after);
        json.Member("difference", difference).Close('}');
    }
    json.Close(']').Key("months").Number(asked.months).Key("back_pay");
    try {
        const paycalc::BackPay pay = paycalc::ComputeBackPay(c, asked.months);
        json.Open('{').Key("months").Number(pay.months).Key("quarters").Number(pay.quarters);
        json.Member("net_difference", pay.netDifference).Member("bonus_difference", pay.bonusDifference);
        json.Member("monthly", pay.monthly).Member("bonus", pay.bonus).Member("total", pay.total).Close('}');
    } catch (const std::exception &) {
        json.Null(); // a slip that stopped, or a product beyond an amount: no back pay to show
    }
    json.Close('}');
}

// The career ladder: each echelon's columns and step of net pay, and the category above.
void LadderJson(Json &json, const paycalc::Ladder &ladder)
{
    json.Key("ladder").Open('{').Key("category").Number(ladder.situation.category);
    json.Key("echelon").Number(ladder.situation.echelon).Key("steps").Open('[');
    for (const paycalc::LadderStep &step : ladder.steps) {
        json.Open('{').Key("echelon").Number(step.echelon).Key("ok").Bool(step.slip.ok());
        AmountsJson(json, "lines", step.slip, paycalc::kLadderColumns);
        json.Member("step", step.netStep).Close('}');
    }
    json.Close(']').Key("above");
    if (const auto &above = ladder.categoryAbove) {
        const paycalc::Slip &now = ladder.steps[static_cast<std::size_t>(ladder.situation.echelon)].slip;
        json.Open('{').Key("category").Number(above->situation.category);
        json.Key("echelon").Number(above->situation.echelon).Key("ok").Bool(above->ok());
        AmountsJson(json, "lines", *above, paycalc::kLadderColumns);
        json.Member("step", paycalc::LineDifferenceOf(now.Text(Field::Text21), above->Text(Field::Text21)));
        json.Close('}');
    } else {
        json.Null();
    }
    json.Close('}');
}

// An official slip's amounts against ours, each with our explanation.
void CheckJson(Json &json, const paycalc::CheckReport &report)
{
    json.Key("check").Open('{').Key("agree").Bool(report.allAgree()).Key("lines").Open('[');
    for (const paycalc::CheckedLine &line : report.lines) {
        json.Open('{').Member("field", paycalc::FieldName(line.field)).Member("name", paycalc::LineName(line.field));
        json.Member("ours", line.ours).Member("theirs", line.theirs).Member("difference", line.difference);
        json.Key("agrees").Bool(line.agrees).Member("explanation", line.explanation).Close('}');
    }
    json.Close(']').Close('}');
}

void SlipJson(std::string_view fragment, bool explain, std::string &out)
{
    paycalc::Situation situation;
    Asked asked;
    const std::vector<Problem> problems = ReadFragment(fragment, situation, asked);
    // One run per slip: the view's own slips, the situation's among them.
    std::optional<paycalc::Comparison> comparison;
    std::optional<paycalc::Ladder> ladder;
    std::optional<paycalc::CheckReport> check;
    paycalc::Slip computed;
    const paycalc::Slip *slip = &computed;
    switch (asked.view) {
    case View::Slip: paycalc::ComputeSlip(situation, computed, explain); break;
    case View::Compare:
        comparison = paycalc::Compare(situation, asked.after, explain);
        slip = &comparison->before;
        break;
    case View::Ladder:
        ladder = paycalc::ComputeLadder(situation);
        slip = &ladder->steps[static_cast<std::size_t>(situation.echelon)].slip;
        explain = false;
        break;
    case View::Check:
        check = paycalc::CheckOfficial(situation, asked.official);
        slip = &check->slip;
        explain = true;
        break;
    }

    Json json(out);
    json.Open('{').Key("problems").Open('[');
    for (const Problem &p : problems) {
        json.Open('{').Member("name", p.name).Member("text", p.text).Member("message", p.message.english);
        json.Member("arabic", p.message.arabic).Member("french", p.message.french).Close('}');
    }
    json.Close(']').Member("view", kViewNames[static_cast<int>(asked.view)]);
    SituationJson(json, situation);
    json.Key("explained").Bool(explain);
    ErrorJson(json, *slip);
    json.Key("lines").Open('[');
    for (Field f : paycalc::kSlipLines) Line(json, slip->Line(f));
    for (Field f : {Field::Text2000, Field::Text2001}) Line(json, slip->Line(f));
    const paycalc::SlipTotals totals = slip->Totals();
    json.Close(']').Key("totals").Open('{');
    if (totals.computed) {
        json.Member("earnings", totals.earnings).Member("deductions", totals.deductions);
        json.Member("difference", totals.difference).Member("rounding", totals.rounding).Member("net", totals.netPay);
    }
    json.Close('}').Key("points").Open('{');
    if (explain && slip->trace.Find(Field::Text1)) {
        const paycalc::GridPoints &points = slip->trace.points;
        json.Key("base").Number(points.base).Key("echelon").Number(points.echelon);
        json.Key("total").Number(points.base + points.echelon);
        json.Member("value", paycalc::RuleNumber(paycalc::kJanuary2016.pointValue));
    }
    json.Close('}').Member("words", slip->NetPayInWords());
    if (comparison) CompareJson(json, *comparison, asked);
    if (ladder) LadderJson(json, *ladder);
    if (check) CheckJson(json, *check);
    json.Close('}');
}

std::string result; // the last answer, valid until the next call

} // namespace

extern "C" {

const char *payslip_inputs()
{
    InputsJson(result);
    return result.c_str();
}

const char *payslip_slip(const char *fragment, int explain)
{
    SlipJson(fragment, explain != 0, result);
    return result.c_str();
}

// The typed field's keystroke rule: whether it takes the text typed or pasted.
int payslip_accepts(const char *field, const char *text)
{
    Field f{};
    if (!paycalc::ParseFieldName(field, f) || !paycalc::IsTypedField(f)) return 0;
    return paycalc::FilterAcceptsText(paycalc::KeyFilterOf(f), text) ? 1 : 0;
}

} // extern "C"
