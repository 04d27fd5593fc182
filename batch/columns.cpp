#include "batch/columns.h"

#include <algorithm>
#include <string>
#include <utility>

#include "batch/csv_reader.h"
#include "paycalc/situation.h"
#include "paydata/tables.h"
#include "paydata/text_rules.h"

namespace batch {

using paycalc::InputOf;
using paycalc::SituationInput;

namespace {

// The header names of who a slip is for: the name, the number, the workplace (Layout::identity).
constexpr std::array<std::array<std::string_view, 6>, 3> kIdentityNames{{
    {"name", "الاسم", "الإسم", "الاسم واللقب", "اللقب والاسم", "الاسم و اللقب"},
    {"number", "employee_number", "الرقم", "رقم الموظف", "رقم التعريف"},
    {"workplace", "school", "مكان العمل", "المؤسسة", "المدرسة"},
}};

// A header name's edges: blanks and ':', as a caption's (paycalc::TitleOf).
constexpr std::string_view kCaptionEdges = " \t:";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Every name a header may give an input's column: its name, its label in the
// window's words, then the table's other names.
std::vector<std::string> AcceptedNames(Input input)
{
    std::vector<std::string> all{ColumnName(input), std::string(ColumnLabel(input))};
    for (std::string_view other : InputOf(input).headers)
        if (!other.empty()) all.emplace_back(other);
    return all;
}

// The Arabic subject of messages about an input's column.
std::string ArabicSubject(Input input) { return std::string(paycalc::LabelOf(InputOf(input)).arabic); }

} // namespace

std::string ColumnName(Input input)
{
    std::string name(InputOf(input).name);
    for (char &c : name)
        if (c == '-') c = '_';
    return name;
}

std::string_view ColumnLabel(Input input) { return paycalc::TitleOf(InputOf(input)); }

std::string NormalName(std::string_view name)
{
    name = paydata::Trim(name, kCaptionEdges);
    std::string out;
    bool blank = false;
    for (char c : name) {
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c == '-') c = '_';
        out += c;
    }
    return out;
}

Message MakeLayout(const std::vector<std::string> &header, Layout &out)
{
    out = Layout{};
    out.where.fill(-1);
    out.role.assign(header.size(), Layout::Carried);
    // "2 'category'": a column by its number and its name.
    auto named = [&](std::size_t k) { return std::to_string(k + 1) + " '" + header[k] + "'"; };
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string normal = NormalName(header[i]);
        if (normal.empty())
            return {"line 1: column " + std::to_string(i + 1) + " has no name",
                    "السطر 1: العمود " + std::to_string(i + 1) + " بلا اسم"};
        if (auto j = std::find(seen.begin(), seen.end(), normal); j != seen.end()) {
            const std::string first = named(static_cast<std::size_t>(j - seen.begin()));
            return {"line 1: column " + named(i) + " repeats column " + first,
                    "السطر 1: العمود " + named(i) + " يكرر العمود " + first};
        }
        seen.push_back(normal);

        bool situation = false;
        for (const SituationInput &input : paycalc::kSituationInputs) {
            bool match = false;
            for (const std::string &name : AcceptedNames(input.input)) match = match || normal == NormalName(name);
            if (!match) continue;
            const auto c = static_cast<std::size_t>(input.input);
            if (out.where[c] >= 0) {
                const std::string first = named(static_cast<std::size_t>(out.where[c]));
                return {"line 1: columns " + first + " and " + named(i) + " both give the " + ColumnName(input.input),
                        "السطر 1: العمودان " + first + " و" + named(i) + " كلاهما يعطي " + ArabicSubject(input.input)};
            }
            out.where[c] = static_cast<int>(i);
            out.role[i] = static_cast<std::int8_t>(input.input);
            situation = true;
        }
        if (situation) continue;

        paycalc::Field field;
        bool computed = false;
        if (paycalc::ParseLineName(header[i], field) || paycalc::ParseLineName(normal, field))
            for (paycalc::Field f : paycalc::kComputedFields)
                if (f == field) computed = true;
        if (computed) {
            // A slip line of an earlier run: computed afresh, not carried twice.
            out.role[i] = Layout::Recomputed;
            out.recomputed.push_back(header[i]);
            continue;
        }
        out.carried.push_back(i);
        for (std::size_t part = 0; part < kIdentityNames.size(); ++part)
            for (std::string_view name : kIdentityNames[part])
                if (!name.empty() && normal == NormalName(name)) out.identity[part] = static_cast<int>(i);
    }
    return {};
}

Message OpenStaffList(const std::string &path, CsvReader &reader, Layout &layout)
{
    std::string error;
    if (!reader.Open(path, &error)) return {error, reader.arabicError()};
    Message problem = MakeLayout(reader.header(), layout);
    if (problem.empty()) problem = MissingRequired(layout);
    if (problem.empty()) return {};
    return {path + ": " + problem.english, path + ": " + problem.arabic};
}

Message MissingRequired(const Layout &layout)
{
    std::string english, arabic;
    std::size_t missing = 0;
    for (Input c : {Input::Category, Input::Echelon}) {
        if (layout.Has(c)) continue;
        if (missing++) {
            english += ", ";
            arabic += "، ";
        }
        const std::vector<std::string> names = AcceptedNames(c);
        english += "'" + names.front() + "' (a header named ";
        arabic += "«" + ArabicSubject(c) + "» (عنوانه ";
        for (std::size_t i = 0; i < names.size(); ++i) {
            english += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
            arabic += (i == 0 ? "" : " أو ") + names[i];
        }
        english += ")";
        arabic += ")";
    }
    if (missing == 0) return {};
    return {std::string(missing == 1 ? "the required column is missing: " : "the required columns are missing: ") +
                english + "; every employee's category and echelon must be given",
            std::string(missing == 1 ? "العمود الإلزامي غير موجود: " : "الأعمدة الإلزامية غير موجودة: ") + arabic +
                "؛ لا بد من صنف ودرجة كل موظف"};
}

std::vector<Message> DefaultedColumns(const Layout &layout)
{
    // The defaults as a fresh situation holds them, written as the outputs write them.
    const paycalc::Situation d{};
    // Without a children column a single row counts none (the window's rule).
    const std::string singleNone = layout.Has(Input::Status) ? ", a single one 0" : "";
    const std::string arabicSingleNone = layout.Has(Input::Status) ? "، وللأعزب 0" : "";
    std::vector<Message> notes;
    for (const SituationInput &input : paycalc::kSituationInputs) {
        const Input c = input.input;
        if (layout.Has(c) || c == Input::Category || c == Input::Echelon) continue;
        const std::string v = paycalc::InputText(input, d);
        // What every row counts instead of the column.
        auto say = [&](const std::string &english, const std::string &arabic,
                       std::string_view arabicLead = "يحسب لكل صف ") {
            notes.push_back({"no '" + ColumnName(c) + "' column: every row counts " + english,
                             "لا عمود «" + ArabicSubject(c) + "»: " + std::string(arabicLead) + arabic});
        };
        switch (c) {
        case Input::Category:
        case Input::Echelon: break;
        case Input::Post:
            say("post " + v + (d.post == 0 ? ", no specific post" : ""),
                "المنصب " + v + (d.post == 0 ? "، أي بلا منصب نوعي" : ""));
            break;
        case Input::Children:
            say(v + (d.children == 1 ? " child" : " children") + singleNone, v + " من الأولاد" + arabicSingleNone);
            break;
        case Input::OverTen:
            say(v + " children over ten" + (d.overTen ? singleNone : ""),
                v + " من الأولاد الأكبر من 10 سنوات" + (d.overTen ? arabicSingleNone : ""));
            break;
        case Input::Status:
            say(v, std::string(paydata::kFamilyStatusEntries[d.status ? 1u : 0u]), "يحسب كل صف ");
            break;
        case Input::Spouse:
            say("the spouse " + std::string(d.spouseWorking() ? "working" : "at home") + " (" + v + ")",
                "مهنة الزوجة " + std::string(paydata::kSpouseEntries[d.spouseWorking() ? 1u : 0u]));
            break;
        case Input::Mutual: say("mutual insurance " + v, "التعاضدية " + std::string(d.mutual ? "نعم" : "لا")); break;
        case Input::Zone: say("a zone allowance of " + v, "منحة المنطقة " + v); break;
        case Input::Housing: say("a housing allowance of " + v, "منحة السكن " + v); break;
        case Input::Absence: say(v + " days of absence", "عدد أيام الغياب " + v); break;
        case Input::Mark: say("a performance mark of " + v, "علامة المردودية " + v); break;
        }
    }
    return notes;
}

std::string ArabicRole(const Layout &layout, std::size_t column)
{
    const std::int8_t role = layout.role[column];
    if (role >= 0) return std::string(ColumnLabel(static_cast<Input>(role)));
    if (role == Layout::Recomputed) return "يعاد حسابه";
    return "ينقل كما هو";
}

} // namespace batch
