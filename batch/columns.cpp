#include "batch/columns.h"

#include <charconv>
#include <string>
#include <utility>

#include "paycalc/situation_inputs.h"
#include "paydata/tables.h"

namespace batch {

// A column is named by its command-line name, by its label (the window's
// caption trimmed, ColumnLabel) and by the short forms people write in a
// spreadsheet header, given here.
const std::array<ColumnNames, kColumnCount> kColumnNames{{
    {Column::Category, "category", {"الفئة"}},
    {Column::Echelon, "echelon", {"الدرجة", "اختر الدرجة"}},
    {Column::Post, "post", {"المنصب"}},
    {Column::Children, "children", {"الأولاد", "عدد الاولاد", "الاولاد"}},
    {Column::OverTen, "over_ten", {"الاكبر من 10", "أكبر من 10"}},
    {Column::Status, "status", {"الحالة"}},
    {Column::Spouse, "spouse", {"الزوجة"}},
    {Column::Mutual, "mutual", {}},
    {Column::Zone, "zone", {"المنطقة"}},
    {Column::Housing, "housing", {"السكن"}},
    {Column::Absence, "absence", {"عدد أيام الغياب", "ايام الغياب", "أيام الغياب"}},
    {Column::Mark, "mark", {"علامة المردودية (3 أشهر)", "علامة المردودية"}},
}};

// The situation columns are the situation's inputs, in the same order.
static_assert(kColumnCount == paycalc::kInputCount);

const std::array<IdentityNames, 3> kIdentityNames{{
    {IdentityPart::Name, {"name", "الاسم", "الإسم", "الاسم واللقب", "اللقب والاسم", "الاسم و اللقب"}},
    {IdentityPart::Number, {"number", "employee_number", "الرقم", "رقم الموظف", "رقم التعريف"}},
    {IdentityPart::Workplace, {"workplace", "school", "مكان العمل", "المؤسسة", "المدرسة"}},
}};

std::string_view ColumnName(Column c) { return kColumnNames[static_cast<std::size_t>(c)].name; }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string_view TrimmedCaption(std::string_view caption)
{
    auto edge = [](char c) { return IsBlank(c) || c == ':'; };
    while (!caption.empty() && edge(caption.front())) caption.remove_prefix(1);
    while (!caption.empty() && edge(caption.back())) caption.remove_suffix(1);
    return caption;
}

std::string_view ColumnLabel(Column c)
{
    return TrimmedCaption(paycalc::CaptionOf(paycalc::InputOf(static_cast<paycalc::Input>(c))));
}

namespace {

bool ParseWhole(std::string_view text, int low, int high, int& out)
{
    text = Trim(text);
    if (text.empty() || text.size() > 3) return false;
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text[0] == '-') return false;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

// A whole number within the range of a list input.
bool ParseWhole(std::string_view text, paycalc::Input input, int& out)
{
    const paycalc::SituationInput& in = paycalc::InputOf(input);
    return ParseWhole(text, in.low, in.high, out);
}

// Whether `text` is `word` (lower-case ASCII) in any case.
bool Is(std::string_view text, std::string_view word)
{
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// What each situation cell must hold, in both wordings: the English reads
// "SUBJECT is RULE, not 'TEXT'", the Arabic "SUBJECT RULE، لا 'TEXT'". In a
// rule, {low} and {high} stand for the input's range in the inputs table.
struct CellRule {
    std::string_view subject;
    std::string_view rule;
    std::string_view arabicSubject;
    std::string_view arabicRule;
};

constexpr std::string_view kWholeRule = "a whole number from {low} to {high}";
constexpr std::string_view kArabicWholeRule = "عدد صحيح من {low} إلى {high}";
constexpr std::string_view kDecimalRule = "a decimal number with a point, such as 1500.50";
constexpr std::string_view kArabicDecimalRule = "عدد عشري بنقطة، مثل 1500.50";

const std::array<CellRule, kColumnCount> kCellRules{{
    {"the category", kWholeRule, "الصنف", kArabicWholeRule},
    {"the echelon", kWholeRule, "الدرجة", kArabicWholeRule},
    {"the specific post", "a row from {low} to {high} or a post's title as the window lists it", "المنصب النوعي",
     "رقم سطر من {low} إلى {high} أو اسم منصب كما تعرضه قائمة النافذة"},
    {"the number of children", kWholeRule, "عدد الأولاد", kArabicWholeRule},
    {"the number of children over ten", kWholeRule, "عدد الأولاد الأكبر من 10 سنوات", kArabicWholeRule},
    {"the family status", "single or married (عازب or متزوج)", "الحالة العائلية", "عازب أو متزوج (single أو married)"},
    {"the spouse's occupation", "home or working (ماكثة or عاملة)", "مهنة الزوجة", "ماكثة أو عاملة (home أو working)"},
    {"the mutual insurance", "yes or no (1 or 0, نعم or لا)", "التعاضدية", "نعم أو لا (yes أو no، 1 أو 0)"},
    {"the zone allowance", kDecimalRule, "منحة المنطقة", kArabicDecimalRule},
    {"the housing allowance", kDecimalRule, "منحة السكن", kArabicDecimalRule},
    {"the days of absence", kDecimalRule, "عدد أيام الغياب", kArabicDecimalRule},
    {"the performance mark", "a whole number, such as 40", "علامة المردودية", "عدد صحيح، مثل 40"},
}};

// A rule with its input's range in place of {low} and {high}.
std::string WithRange(std::string_view rule, Column c)
{
    const paycalc::SituationInput& in = paycalc::kSituationInputs[static_cast<std::size_t>(c)];
    std::string text(rule);
    for (const auto& [mark, value] : {std::pair{std::string_view("{low}"), in.low}, {"{high}", in.high}})
        if (const std::size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), std::to_string(value));
    return text;
}

Message Refused(Column c, std::string_view cell)
{
    const CellRule& r = kCellRules[static_cast<std::size_t>(c)];
    const std::string quoted = Quoted(cell);
    return {std::string(r.subject) + " is " + WithRange(r.rule, c) + ", not " + quoted,
            std::string(r.arabicSubject) + " " + WithRange(r.arabicRule, c) + "، لا " + quoted};
}

} // namespace

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string NormalName(std::string_view name)
{
    name = TrimmedCaption(name);
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

bool MakeLayout(const std::vector<std::string>& header, Layout& out, std::string* error, std::string* arabic)
{
    out = Layout{};
    out.where.fill(-1);
    out.role.assign(header.size(), Layout::Carried);
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string normal = NormalName(header[i]);
        const std::string position = "column " + std::to_string(i + 1);
        if (normal.empty()) {
            if (error) *error = "line 1: " + position + " has no name";
            if (arabic) *arabic = "السطر 1: العمود " + std::to_string(i + 1) + " بلا اسم";
            return false;
        }
        for (std::size_t j = 0; j < seen.size(); ++j) {
            if (seen[j] == normal) {
                if (error)
                    *error = "line 1: " + position + " '" + header[i] + "' repeats column " + std::to_string(j + 1) +
                             " '" + header[j] + "'";
                if (arabic)
                    *arabic = "السطر 1: العمود " + std::to_string(i + 1) + " '" + header[i] + "' يكرر العمود " +
                              std::to_string(j + 1) + " '" + header[j] + "'";
                return false;
            }
        }
        seen.push_back(normal);

        bool situation = false;
        for (const ColumnNames& names : kColumnNames) {
            bool match = normal == names.name || normal == NormalName(ColumnLabel(names.column));
            for (std::string_view other : names.others)
                if (!other.empty() && normal == NormalName(other)) match = true;
            if (!match) continue;
            const auto c = static_cast<std::size_t>(names.column);
            if (out.where[c] >= 0) {
                if (error)
                    *error = "line 1: columns " + std::to_string(out.where[c] + 1) + " '" +
                             header[static_cast<std::size_t>(out.where[c])] + "' and " + std::to_string(i + 1) +
                             " '" + header[i] + "' both give the " + std::string(names.name);
                if (arabic)
                    *arabic = "السطر 1: العمودان " + std::to_string(out.where[c] + 1) + " '" +
                              header[static_cast<std::size_t>(out.where[c])] + "' و" + std::to_string(i + 1) + " '" +
                              header[i] + "' كلاهما يعطي " + std::string(kCellRules[c].arabicSubject);
                return false;
            }
            out.where[c] = static_cast<int>(i);
            out.role[i] = static_cast<std::int8_t>(names.column);
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
        for (const IdentityNames& identity : kIdentityNames)
            for (std::string_view name : identity.names)
                if (!name.empty() && normal == NormalName(name))
                    out.identity[static_cast<std::size_t>(identity.part)] = static_cast<int>(i);
    }
    return true;
}

bool IsDecimal(std::string_view text)
{
    text = Trim(text);
    std::size_t digits = 0, points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.') ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

namespace {

bool IsDigits(std::string_view text)
{
    text = Trim(text);
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

Message ReadCell(Column c, std::string_view cell, bool asTyped, paycalc::Situation& s)
{
    const std::string_view t = Trim(cell);
    switch (c) {
    case Column::Category:
        if (ParseWhole(cell, paycalc::Input::Category, s.category)) return {};
        return Refused(c, cell);
    case Column::Echelon:
        if (ParseWhole(cell, paycalc::Input::Echelon, s.echelon)) return {};
        return Refused(c, cell);
    case Column::Children:
        if (ParseWhole(cell, paycalc::Input::Children, s.children)) return {};
        return Refused(c, cell);
    case Column::OverTen:
        if (ParseWhole(cell, paycalc::Input::OverTen, s.overTen)) return {};
        return Refused(c, cell);
    case Column::Post:
        // An empty cell is the list's empty first entry: no specific post.
        if (t.empty()) {
            s.post = 0;
            return {};
        }
        if (ParseWhole(cell, paycalc::Input::Post, s.post)) return {};
        for (int row = 1; row < paydata::kPostCount; ++row) {
            if (t == paydata::kSpecificPosts[static_cast<std::size_t>(row)].title) {
                s.post = row;
                return {};
            }
        }
        return Refused(c, cell);
    case Column::Status: {
        if (Is(t, "single") || t == paydata::kFamilyStatusEntries[0]) s.status = 0;
        else if (Is(t, "married") || t == paydata::kFamilyStatusEntries[1]) s.status = 1;
        else return Refused(c, cell);
        return {};
    }
    case Column::Spouse: {
        if (Is(t, "home") || t == paydata::kSpouseEntries[0]) s.spouse = 0;
        else if (Is(t, "working") || t == paydata::kSpouseEntries[1]) s.spouse = 1;
        else return Refused(c, cell);
        return {};
    }
    case Column::Mutual: {
        if (Is(t, "yes") || t == "1" || t == "نعم") s.mutual = true;
        else if (Is(t, "no") || t == "0" || t == "لا") s.mutual = false;
        else return Refused(c, cell);
        return {};
    }
    case Column::Zone:
    case Column::Housing:
    case Column::Absence: {
        std::string& typed = c == Column::Zone ? s.zone : c == Column::Housing ? s.housing : s.absence;
        if (asTyped) {
            typed.assign(cell);
            return {};
        }
        if (!IsDecimal(cell)) return Refused(c, cell);
        typed.assign(t);
        return {};
    }
    case Column::Mark:
        if (asTyped) {
            s.mark.assign(cell);
            return {};
        }
        // The window's mark field takes digits only.
        if (!IsDigits(cell)) return Refused(c, cell);
        s.mark.assign(t);
        return {};
    }
    return {"unknown column", "عمود مجهول"};
}

bool IsRequired(Column c)
{
    for (Column r : kRequiredColumns)
        if (r == c) return true;
    return false;
}

namespace {

// "category, الصنف or الفئة" in English, "category أو الصنف أو الفئة" in Arabic.
std::string AcceptedNames(const ColumnNames& names, std::string_view lastJoin, std::string_view join)
{
    std::vector<std::string_view> all{names.name, ColumnLabel(names.column)};
    for (std::string_view other : names.others)
        if (!other.empty()) all.push_back(other);
    std::string text;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i) text += i + 1 == all.size() ? lastJoin : join;
        text += all[i];
    }
    return text;
}

} // namespace

Message MissingRequired(const Layout& layout)
{
    std::string english, arabic;
    std::size_t missing = 0;
    for (Column c : kRequiredColumns) {
        if (layout.Has(c)) continue;
        const ColumnNames& names = kColumnNames[static_cast<std::size_t>(c)];
        const CellRule& rule = kCellRules[static_cast<std::size_t>(c)];
        if (missing++) {
            english += ", ";
            arabic += "، ";
        }
        english += "'" + std::string(names.name) + "' (a header named " + AcceptedNames(names, " or ", ", ") + ")";
        arabic += "«" + std::string(rule.arabicSubject) + "» (عنوانه " + AcceptedNames(names, " أو ", " أو ") + ")";
    }
    if (missing == 0) return {};
    return {std::string(missing == 1 ? "the required column is missing: " : "the required columns are missing: ") +
                english + "; every employee's category and echelon must be given",
            std::string(missing == 1 ? "العمود الإلزامي غير موجود: " : "الأعمدة الإلزامية غير موجودة: ") + arabic +
                "؛ لا بد من صنف ودرجة كل موظف"};
}

std::vector<Message> DefaultedColumns(const Layout& layout)
{
    // The defaults as a fresh situation holds them, written as the outputs write them.
    const paycalc::Situation d{};
    // Without a children column a single row counts none (the window's rule).
    const std::string singleNone = layout.Has(Column::Status) ? ", a single one 0" : "";
    const std::string arabicSingleNone = layout.Has(Column::Status) ? "، وللأعزب 0" : "";
    std::vector<Message> notes;
    for (const ColumnNames& names : kColumnNames) {
        const Column c = names.column;
        if (layout.Has(c) || IsRequired(c)) continue;
        const std::string v = CellText(c, d);
        std::string english, arabic;
        switch (c) {
        case Column::Category:
        case Column::Echelon: break;
        case Column::Post:
            english = "every row counts post " + v + (d.post == 0 ? ", no specific post" : "");
            arabic = "يحسب لكل صف المنصب " + v + (d.post == 0 ? "، أي بلا منصب نوعي" : "");
            break;
        case Column::Children:
            english = "every row counts " + v + (d.children == 1 ? " child" : " children") + singleNone;
            arabic = "يحسب لكل صف " + v + " من الأولاد" + arabicSingleNone;
            break;
        case Column::OverTen:
            english = "every row counts " + v + " children over ten" + (d.overTen ? singleNone : "");
            arabic = "يحسب لكل صف " + v + " من الأولاد الأكبر من 10 سنوات" + (d.overTen ? arabicSingleNone : "");
            break;
        case Column::Status:
            english = "every row counts " + v;
            arabic = "يحسب كل صف " + std::string(paydata::kFamilyStatusEntries[static_cast<std::size_t>(d.status ? 1 : 0)]);
            break;
        case Column::Spouse:
            english = "every row counts the spouse " + std::string(d.spouseWorking() ? "working" : "at home") + " (" +
                      v + ")";
            arabic = "يحسب لكل صف مهنة الزوجة " +
                     std::string(paydata::kSpouseEntries[static_cast<std::size_t>(d.spouseWorking() ? 1 : 0)]);
            break;
        case Column::Mutual:
            english = "every row counts mutual insurance " + v;
            arabic = "يحسب لكل صف التعاضدية " + std::string(d.mutual ? "نعم" : "لا");
            break;
        case Column::Zone:
            english = "every row counts a zone allowance of " + v;
            arabic = "يحسب لكل صف منحة المنطقة " + v;
            break;
        case Column::Housing:
            english = "every row counts a housing allowance of " + v;
            arabic = "يحسب لكل صف منحة السكن " + v;
            break;
        case Column::Absence:
            english = "every row counts " + v + " days of absence";
            arabic = "يحسب لكل صف عدد أيام الغياب " + v;
            break;
        case Column::Mark:
            english = "every row counts a performance mark of " + v;
            arabic = "يحسب لكل صف علامة المردودية " + v;
            break;
        }
        const CellRule& rule = kCellRules[static_cast<std::size_t>(c)];
        notes.push_back({"no '" + std::string(names.name) + "' column: " + english,
                         "لا عمود «" + std::string(rule.arabicSubject) + "»: " + arabic});
    }
    return notes;
}

std::string ArabicRole(const Layout& layout, std::size_t column)
{
    const std::int8_t role = layout.role[column];
    if (role >= 0) return std::string(ColumnLabel(static_cast<Column>(role)));
    if (role == Layout::Recomputed) return "يعاد حسابه";
    return "ينقل كما هو";
}

std::string CellText(Column c, const paycalc::Situation& s)
{
    switch (c) {
    case Column::Category: return std::to_string(s.category);
    case Column::Echelon: return std::to_string(s.echelon);
    case Column::Post: return std::to_string(s.post);
    case Column::Children: return std::to_string(s.children);
    case Column::OverTen: return std::to_string(s.overTen);
    case Column::Status: return s.married() ? "married" : "single";
    case Column::Spouse: return s.spouseWorking() ? "working" : "home";
    case Column::Mutual: return s.mutual ? "yes" : "no";
    case Column::Zone: return s.zone;
    case Column::Housing: return s.housing;
    case Column::Absence: return s.absence;
    case Column::Mark: return s.mark;
    }
    return {};
}

} // namespace batch
