// The engine's one binding to the browser's page. Three functions take and
// give UTF-8 text; the page reads nothing else:
//   payslip_inputs()               the inputs, the lines and the printed page's labels, as JSON;
//   payslip_slip(fragment, explain) the slip of a situation given as a link's fragment, as JSON,
//                                   with each line's explanation when `explain` is not 0;
//   payslip_accepts(field, text)   whether a typed field takes an inserted text.
// Every amount, caption, list entry, range and rule comes from the engine;
// this file only reads the fragment and writes JSON.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/family_status_rule.h"
#include "paycalc/memory_form.h"
#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"
#include "paycalc/slip_table.h"
#include "paydata/arabic_words.h"
#include "paydata/text_rules.h"

namespace {

using paycalc::Field;

// JSON written as it goes: objects, arrays, keys and strings, commas between.
class Json {
public:
    Json& Open(char bracket) { return Put(std::string_view(&bracket, 1), true); }
    Json& Close(char bracket)
    {
        out_ += bracket;
        first_ = false;
        return *this;
    }
    Json& Key(std::string_view key)
    {
        String(key);
        out_ += ':';
        first_ = true;
        return *this;
    }
    Json& String(std::string_view text)
    {
        Put("\"", false);
        for (char c : text) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out_ += escaped;
            } else {
                out_ += c;
            }
        }
        out_ += '"';
        return *this;
    }
    Json& Number(int n) { return Put(std::to_string(n), false); }
    Json& Bool(bool b) { return Put(b ? "true" : "false", false); }
    Json& Null() { return Put("null", false); }
    Json& Member(std::string_view key, std::string_view text) { return Key(key).String(text); }
    const char* Text() const { return out_.c_str(); }

private:
    Json& Put(std::string_view text, bool opens)
    {
        if (!first_) out_ += ',';
        out_ += text;
        first_ = opens;
        return *this;
    }
    std::string out_;
    bool first_ = true;
};

// A caption as a page shows it: without the blanks and the ':' around it.
std::string_view Trimmed(std::string_view caption)
{
    while (!caption.empty() && (caption.front() == ' ' || caption.back() == ' ' || caption.back() == ':')) {
        if (caption.front() == ' ') caption.remove_prefix(1);
        else caption.remove_suffix(1);
    }
    return caption;
}

std::string_view KindName(paycalc::LineKind kind)
{
    switch (kind) {
    case paycalc::LineKind::Earning: return "earning";
    case paycalc::LineKind::Deduction: return "deduction";
    case paycalc::LineKind::Subtotal: return "subtotal";
    case paycalc::LineKind::Information: return "information";
    }
    return "none";
}

std::string_view KindOf(Field f)
{
    for (const auto& [field, kind] : paycalc::kLineKinds)
        if (field == f) return KindName(kind);
    return "none";
}

// The input's value as the command line writes it.
// TODO(lead, issue 23): the words of status, spouse and mutual (single/married,
// home/working, no/yes) live in cli/cli.cpp; until the inputs table carries
// them, the page reads and writes those three as 0 and 1.
std::string ValueText(const paycalc::SituationInput& in, const paycalc::Situation& s)
{
    if (in.list >= 0) return std::to_string(paycalc::ListValue(s, in));
    if (in.input == paycalc::Input::Mutual) return s.mutual ? "1" : "0";
    return s.Typed(in.field);
}

std::string_view InputKind(const paycalc::SituationInput& in)
{
    if (in.list >= 0) return "list";
    return in.input == paycalc::Input::Mutual ? "check" : "typed";
}

std::string InputsJson()
{
    const paycalc::Situation fresh;
    Json json;
    json.Open('{').Key("inputs").Open('[');
    for (const paycalc::SituationInput& in : paycalc::kSituationInputs) {
        json.Open('{').Member("name", in.name).Member("kind", InputKind(in));
        json.Member("caption", Trimmed(paycalc::CaptionOf(in)));
        // TODO(lead, issue 23): the inputs' French captions and their labels on a printed slip.
        json.Member("french", "");
        json.Key("label").Open('{').Member("arabic", Trimmed(paycalc::CaptionOf(in))).Member("french", "").Close('}');
        json.Key("values").Open('[');
        if (in.list >= 0 || in.input == paycalc::Input::Mutual)
            for (int v = in.low; v <= in.high; ++v) json.String(std::to_string(v));
        json.Close(']').Key("texts").Open('[');
        if (in.list >= 0)
            for (const std::string& entry : paycalc::ComboEntries(in.list)) json.String(entry);
        json.Close(']').Member("default", ValueText(in, fresh));
        if (InputKind(in) == "typed") json.Member("field", paycalc::FieldName(in.field));
        json.Close('}');
    }
    json.Close(']').Key("lines").Open('[');
    for (Field f : paycalc::kSlipLines) {
        json.Open('{').Member("field", paycalc::FieldName(f)).Member("name", paycalc::LineName(f));
        json.Member("kind", KindOf(f)).Member("arabic", paycalc::FieldTitle(f));
        // TODO(lead, issue 23): the lines' French labels (report/slip_content.cpp) in the engine's table of lines.
        json.Member("french", "").Close('}');
    }
    json.Close(']').Key("printed").Open('[');
    for (const auto& [field, kind] : paycalc::kLineKinds) json.String(paycalc::FieldName(field));
    // TODO(lead, issue 23): the printed page's captions (report/) as engine data.
    json.Close(']').Key("labels").Open('{').Close('}').Close('}');
    return json.Text();
}

// --- A situation given as a link's fragment: "category=12&echelon=3&mutual=0"

struct Problem {
    std::string name, text, message;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding; false for a '%' not followed by two hexadecimal digits.
bool Decoded(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// Whether a text is whole UTF-8 sequences (a link may carry any bytes).
bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
        i += length;
    }
    return true;
}

// Reads one value into the situation; the reason it cannot, or empty.
// TODO(lead, issue 23): the inputs table's own reader and refusal wording;
// until then a list's value is its whole number in the table's range.
std::string Read(const paycalc::SituationInput& in, const std::string& text, paycalc::Situation& s)
{
    if (InputKind(in) == "typed") {
        s.Typed(in.field) = text;
        return {};
    }
    int value = 0;
    std::size_t used = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || text[0] == '+' || text[0] == ' ' || value < in.low || value > in.high)
        return "from " + std::to_string(in.low) + " to " + std::to_string(in.high);
    if (in.input == paycalc::Input::Mutual) s.mutual = value == 1;
    else if (in.input == paycalc::Input::Category) s.category = value;
    else s.SetListPosition(in.list, value);
    return {};
}

std::vector<Problem> ReadFragment(std::string_view fragment, paycalc::Situation& s)
{
    std::vector<Problem> problems;
    std::vector<std::string_view> given;
    std::string key, text;
    while (!fragment.empty()) {
        const std::size_t end = std::min(fragment.find('&'), fragment.size());
        const std::string_view pair = fragment.substr(0, end);
        fragment.remove_prefix(std::min(end + 1, fragment.size()));
        if (pair.empty()) continue;
        const std::size_t eq = pair.find('=');
        const bool readable = Decoded(pair.substr(0, eq), key) &&
                              Decoded(eq == std::string_view::npos ? "" : pair.substr(eq + 1), text) &&
                              IsUtf8(key) && IsUtf8(text);
        if (!readable) {
            problems.push_back({std::string(pair.substr(0, eq)), {}, "not a readable text"});
            continue;
        }
        if (eq == std::string_view::npos) {
            problems.push_back({key, {}, "no value"});
            continue;
        }
        if (auto control = paydata::FindControlCharacter(text, paydata::LineBreaks::Refused)) {
            problems.push_back({key, text, "control character " + paydata::CodeName(control->code)});
            continue;
        }
        const paycalc::SituationInput* input = nullptr;
        for (const paycalc::SituationInput& in : paycalc::kSituationInputs)
            if (in.name == key) input = &in;
        if (!input) {
            problems.push_back({key, text, "unknown"});
            continue;
        }
        bool repeated = false;
        for (std::string_view name : given) repeated |= name == input->name;
        if (repeated) {
            problems.push_back({key, text, "given twice"});
            continue;
        }
        given.push_back(input->name);
        if (std::string why = Read(*input, text, s); !why.empty()) problems.push_back({key, text, why});
    }
    // The family-status rule: a single employee's children counts are held
    // at 0; a count given against it is refused.
    for (int list : {paycalc::kChildrenList, paycalc::kOverTenList}) {
        const paycalc::SituationInput& in = paycalc::InputOfList(list);
        bool wasGiven = false;
        for (std::string_view name : given) wasGiven |= name == in.name;
        if (wasGiven && paycalc::BreaksFamilyStatusRule(s, list))
            problems.push_back({std::string(in.name), ValueText(in, s), std::string(paycalc::kFamilyStatusRuleProblem)});
    }
    paycalc::ApplyFamilyStatusRule(s);
    return problems;
}

// The form the slip's table is read from (TODO(lead, issue 23): the slip
// value, without this copy and the second recalculation TableOf runs).
paycalc::MemoryForm FormOf(const paycalc::Slip& slip)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, slip.situation);
    for (int f = 0; f < paycalc::kFieldCount; ++f)
        form.SetText(static_cast<Field>(f), slip.texts[static_cast<std::size_t>(f)]);
    return form;
}

std::string SlipJson(std::string_view fragment, bool explain)
{
    paycalc::Situation situation;
    const std::vector<Problem> problems = ReadFragment(fragment, situation);
    const paycalc::Slip slip = paycalc::ComputeSlip(situation, explain);
    const paycalc::SlipTable table = paycalc::TableOf(FormOf(slip));

    Json json;
    json.Open('{').Key("problems").Open('[');
    for (const Problem& p : problems)
        json.Open('{').Member("name", p.name).Member("text", p.text).Member("message", p.message).Close('}');
    json.Close(']').Key("situation").Open('{');
    for (const paycalc::SituationInput& in : paycalc::kSituationInputs) json.Member(in.name, ValueText(in, situation));
    json.Close('}').Key("shown").Open('{');
    // TODO(lead, issue 23): what a printed slip shows for each input (the mutual box in words).
    for (const paycalc::SituationInput& in : paycalc::kSituationInputs)
        json.Member(in.name, in.list >= 0 ? paycalc::ComboEntries(in.list)[static_cast<std::size_t>(situation.ListPosition(in.list))]
                                          : ValueText(in, situation));
    json.Close('}').Key("held").Open('[');
    for (const paycalc::HeldList& held : paycalc::FamilyStatusRuleHolds(situation.status))
        json.String(paycalc::InputOfList(held.list).name);
    json.Close(']').Key("explained").Bool(explain).Key("ok").Bool(slip.ok()).Key("error");
    if (slip.error)
        json.Open('{')
            .Member("field", paycalc::FieldName(slip.error->step()))
            .Member("message", paycalc::Describe(*slip.error))
            .Close('}');
    else
        json.Null();
    json.Key("lines").Open('[');
    std::vector<Field> fields(paycalc::kSlipLines.begin(), paycalc::kSlipLines.end());
    fields.insert(fields.end(), {Field::Text2000, Field::Text2001});
    for (Field f : fields) {
        std::string amount = slip.Text(f);
        for (const paycalc::SlipLine& line : table.lines)
            if (line.field == f && slip.ok()) amount = line.amount;
        json.Open('{').Member("field", paycalc::FieldName(f)).Member("amount", amount);
        if (const paycalc::Explanation* e = slip.trace.Find(f))
            json.Member("base", e->base).Member("rate", e->rate).Member("rule", e->rule).Member("formula", e->formula)
                .Member("result", e->result);
        json.Close('}');
    }
    json.Close(']').Key("totals").Open('{');
    if (slip.ok() && table.totals.computed)
        json.Member("earnings", table.totals.earnings)
            .Member("deductions", table.totals.deductions)
            .Member("difference", table.totals.difference)
            .Member("rounding", table.totals.rounding)
            .Member("net", table.totals.netPay);
    json.Close('}').Key("points").Open('{');
    if (table.points.known)
        json.Key("base").Number(table.points.base).Key("echelon").Number(table.points.echelon)
            .Key("total").Number(table.points.base + table.points.echelon)
            .Member("value", paycalc::RuleNumber(table.rules->pointValue));
    json.Close('}').Key("words");
    std::string words;
    try {
        if (slip.ok()) words = paydata::AmountInArabicWords(slip.Text(Field::Text21));
    } catch (const std::exception&) {
        // Beyond the amounts written in words: none.
    }
    json.String(words).Close('}');
    return json.Text();
}

std::string result; // the last answer, valid until the next call

} // namespace

extern "C" {

const char* payslip_inputs()
{
    result = InputsJson();
    return result.c_str();
}

const char* payslip_slip(const char* fragment, int explain)
{
    result = SlipJson(fragment, explain != 0);
    return result.c_str();
}

// TODO(lead, issue 23): the typed fields' keystroke rules as engine code
// (window/key_filters.cpp holds them, in Qt); until then only the rule of every
// text read from outside applies: no control character.
int payslip_accepts(const char* field, const char* text)
{
    Field f{};
    if (!paycalc::ParseFieldName(field, f) || !paycalc::IsTypedField(f)) return 0;
    return paydata::FindControlCharacter(text, paydata::LineBreaks::Refused) ? 0 : 1;
}

} // extern "C"
