// The situation's inputs as one table (each input's name, the list or typed
// field it fills, its values and words, caption, label and the rule a refused
// value is told; its default is always paycalc::Situation{}'s), and the one
// reader of a situation given as text, shared by the command line, the batch
// and the browser.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/fields.h"
#include "paydata/tables.h"

namespace paycalc {

struct Situation;

// The inputs, in the order the batch's outputs write them.
// clang-format off
enum class Input : std::uint8_t {
    Category, Echelon, Post, Children, OverTen, Status, Spouse, Mutual, Zone, Housing, Absence, Mark,
};
// clang-format on
inline constexpr std::size_t kInputCount = 12;

// A text in the three languages the program speaks to people in.
struct Wording {
    std::string english;
    std::string arabic;
    std::string french;
};

struct RuleText {
    std::string_view english, arabic, french; // {low} and {high} stand for the input's range
};

struct SituationInput {
    Input input;
    std::string_view name; // on the command line, without the dashes: "over-ten"
    int list;              // the Combo1 list it selects in, or -1
    Field field;           // the typed field it fills (Text10, Text11, Text20, Text23); Text1 when none
    int low, high;         // a list input's values (the category 1..17, the others list positions)
    // The label beside the list or the box in the window, exactly as shown,
    // blanks and ':' included; empty for a typed input, whose label is its
    // field's caption (see CaptionOf).
    std::string_view caption;
    Label label;           // on a printed slip; empty for a typed input: its field's LineLabel
    std::string_view term; // in English, for messages: "family status"; a typed input's is its field's
    RuleText rule;         // what a value must be
    // The words of the values 0 and 1 (status: single, married; spouse:
    // home, working; mutual: no, yes), what a slip prints for them when it is
    // not the list's entry, and one more way a staff list may write each.
    std::array<std::string_view, 2> words;
    std::array<std::string_view, 2> shown;
    std::array<std::array<std::string_view, 2>, 2> also;
    std::array<std::string_view, 5> headers; // other names of its column in a staff list's header
};

// clang-format off
inline constexpr RuleText kWholeRule{"a whole number from {low} to {high}", "عدد صحيح من {low} إلى {high}",
                                     "un nombre entier de {low} à {high}"};
inline constexpr RuleText kDecimalRule{"a decimal number with a point, such as 1500.50", "عدد عشري بنقطة، مثل 1500.50",
                                       "un nombre décimal avec un point, comme 1500.50"};

inline constexpr std::array<SituationInput, kInputCount> kSituationInputs{{
    {Input::Category, "category", kCategoryList, Field::Text1, 1, paydata::kCategoryCount, "الصنف :",
     {"الصنف", "Catégorie"}, "category", kWholeRule, {}, {}, {}, {"الفئة"}},
    {Input::Echelon, "echelon", kEchelonList, Field::Text1, 0, paydata::kEchelonCount - 1, "إختر الدرجة :",
     {"الدرجة", "Échelon"}, "echelon", kWholeRule, {}, {}, {}, {"الدرجة", "اختر الدرجة"}},
    {Input::Post, "post", kPostList, Field::Text1, 0, paydata::kPostCount - 1, "المنصب النوعي :",
     {"المنصب النوعي", "Poste spécifique"}, "specific post",
     {"a row from {low} to {high} or a post's title as the window lists it",
      "رقم سطر من {low} إلى {high} أو اسم منصب كما تعرضه قائمة النافذة",
      "une ligne de {low} à {high} ou le titre d'un poste tel que la liste l'affiche"},
     {}, {}, {}, {"المنصب"}},
    {Input::Children, "children", kChildrenList, Field::Text1, 0, 12, "عدد الأولاد  :", {"عدد الأولاد", "Enfants"},
     "number of children", kWholeRule, {}, {}, {}, {"الأولاد", "عدد الاولاد", "الاولاد"}},
    {Input::OverTen, "over-ten", kOverTenList, Field::Text1, 0, 12, "الأكبر من 10  :",
     {"الأولاد فوق 10 سنوات", "Enfants de plus de 10 ans"}, "number of children over ten", kWholeRule, {}, {}, {},
     {"الاكبر من 10", "أكبر من 10"}},
    {Input::Status, "status", kFamilyStatusList, Field::Text1, 0, 1, " الحالة العائلية :",
     {"الحالة العائلية", "Situation familiale"}, "family status",
     {"single or married (عازب or متزوج)", "عازب أو متزوج (single أو married)",
      "célibataire ou marié : single ou married (عازب ou متزوج)"},
     {"single", "married"}, {}, {}, {"الحالة"}},
    {Input::Spouse, "spouse", kSpouseList, Field::Text1, 0, 1, "مهنة الزوجة  :", {"مهنة الزوجة", "Conjoint"},
     "spouse's occupation",
     {"home or working (ماكثة or عاملة)", "ماكثة أو عاملة (home أو working)",
      "au foyer ou salariée : home ou working (ماكثة ou عاملة)"},
     {"home", "working"}, {}, {}, {"الزوجة"}},
    {Input::Mutual, "mutual", -1, Field::Text1, 0, 1, "التعاضدية :", {"التعاضدية", "Mutuelle"}, "mutual insurance",
     {"yes or no (1 or 0, نعم or لا)", "نعم أو لا (yes أو no، 1 أو 0)", "oui ou non : yes ou no (1 ou 0, نعم ou لا)"},
     {"no", "yes"}, {"غير مشترك", "مشترك"}, {{{"0", "لا"}, {"1", "نعم"}}}, {}},
    {Input::Zone, "zone", -1, Field::Text10, 0, 0, {}, {}, {}, kDecimalRule, {}, {}, {}, {"المنطقة"}},
    {Input::Housing, "housing", -1, Field::Text11, 0, 0, {}, {}, {}, kDecimalRule, {}, {}, {}, {"السكن"}},
    {Input::Absence, "absence", -1, Field::Text20, 0, 0, {}, {}, {}, kDecimalRule, {}, {}, {},
     {"عدد أيام الغياب", "ايام الغياب", "أيام الغياب"}},
    {Input::Mark, "mark", -1, Field::Text23, 0, 0, {}, {}, {},
     {"a whole number, such as 40", "عدد صحيح، مثل 40", "un nombre entier, comme 40"}, {}, {}, {},
     {"علامة المردودية (3 أشهر)", "علامة المردودية"}},
}};
// clang-format on

constexpr const SituationInput &InputOf(Input input) { return kSituationInputs[static_cast<std::size_t>(input)]; }
inline bool IsTyped(const SituationInput &input) { return input.list < 0 && input.input != Input::Mutual; }

// The label beside the input in the window, exactly as shown: the table's
// caption, or for a typed input its field's caption.
std::string_view CaptionOf(const SituationInput &input);
// That caption as a title: the blanks and ':' around it trimmed.
std::string_view TitleOf(const SituationInput &input);
// Its label on a printed slip: the table's, or for a typed input its field's.
Label LabelOf(const SituationInput &input);
// Its term in English: "family status", "zone allowance".
std::string_view TermOf(const SituationInput &input);
// What its values must be, the range filled in.
Wording RuleOf(const SituationInput &input);
// A rule with the range from `low` to `high` filled in.
Wording RuleOf(const RuleText &rule, int low, int high);

// The input that selects in Combo1(list).
const SituationInput &InputOfList(int list);
// The input named `name` ("over-ten"; '_' may stand for '-'); null for none.
const SituationInput *FindInput(std::string_view name);

// A list input's value in the situation: the category's number, the other
// lists' positions (the mutual box: 0 or 1).
int ListValue(const Situation &situation, const SituationInput &input);

// The input's value as the command line writes it: "12", "married", "yes",
// a typed text as typed. The second form allocates nothing (a batch writes a
// million rows): a number's text is held in `digits`.
std::string InputText(const SituationInput &input, const Situation &situation);
std::string_view InputText(const SituationInput &input, const Situation &situation, std::array<char, 8> &digits);
// What a printed slip shows for it: a list's entry ("—" for none), the
// mutual box in words, a typed text as typed.
std::string ShownText(const SituationInput &input, const Situation &situation);

// Reads a text as the input's value into the situation; false, leaving it
// unchanged, when the text is not one. Blanks around the text are ignored.
// A count is a whole number in the input's range; status, spouse and mutual
// take their words in any case, the list's entries, and the also words; the
// post a row number, a post's title or nothing (none). A typed input keeps
// its text exactly as written; `strict`, it must be a decimal number with a
// point (the mark: digits only).
bool ReadInput(const SituationInput &input, std::string_view text, Situation &situation, bool strict);

// One input's value given as text: a command-line option, a staff list's
// cell, a key of a link.
struct GivenValue {
    const SituationInput *input;
    std::string_view text;
};

struct ValueProblem {
    const SituationInput *input;
    std::string text;        // as given
    bool familyRule = false; // a children count given against the family-status rule, else not a value
};

// Reads the given values into the situation, in order (a later value of an
// input wins), then the family-status rule: a single employee's children
// counts not given are held at 0, and one given above 0 is a problem. The
// problems in the order found; an input with a problem keeps its value.
std::vector<ValueProblem> ReadValues(std::span<const GivenValue> given, Situation &situation, bool strict);

// A problem as a staff list's refusal or a link's says it: "the echelon is a
// whole number from 0 to 12, not '13'".
Wording Refusal(const ValueProblem &problem);

} // namespace paycalc
