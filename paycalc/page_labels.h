// The words of a printed slip beside its lines' labels (fields.h) and its
// inputs' labels (situation_inputs.h): the title, the headings, the columns,
// the totals. Every front end that prints a slip, the window's, the
// command line's and the browser's, takes them from here. Words only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "paycalc/fields.h"

namespace paycalc {

// clang-format off
enum class PageText : std::uint8_t {
    Title, PrintedOn, Name, Number, Workplace,
    Situation, PointValue, CategoryPoints, EchelonPoints, TotalPoints,
    Lines, LabelColumn, BaseColumn, RateColumn, EarningsColumn, DeductionsColumn,
    EarningsTotal, DeductionsTotal, Difference, Rounding, RoundingNote, InWords,
    Bonus, Mark,
};
// clang-format on

struct PageLabel {
    std::string_view key; // the name a page's script knows it by
    Label label;
};

// In the order of PageText.
// clang-format off
inline constexpr std::array<PageLabel, 24> kPageLabels{{
    {"title", {"كشف الراتب جانفي 2016", "Bulletin de paie — janvier 2016"}},
    {"printed_on", {"تاريخ الطبع", "Date d'impression"}},
    {"name", {"الاسم واللقب", "Nom et prénom"}},
    {"number", {"رقم الموظف", "Matricule"}},
    {"workplace", {"مكان العمل", "Lieu de travail"}},
    {"situation", {"وضعية الموظف", "Situation"}},
    {"point_value", {"قيمة النقطة الاستدلالية", "Valeur du point indiciaire"}},
    {"category_points", {"النقاط الاستدلالية للصنف", "Points indiciaires de la catégorie"}},
    {"echelon_points", {"نقاط الدرجة", "Points de l'échelon"}},
    {"total_points", {"مجموع النقاط", "Total des points"}},
    {"lines", {"الكشف", "Détail de la paie"}},
    {"label_column", {"البيان", "Libellé"}},
    {"base_column", {"الأساس", "Base"}},
    {"rate_column", {"النسبة", "Taux"}},
    {"earnings_column", {"المستحقات", "Gains"}},
    {"deductions_column", {"الاقتطاعات", "Retenues"}},
    {"earnings_total", {"مجموع المستحقات", "Total des gains"}},
    {"deductions_total", {"مجموع الاقتطاعات", "Total des retenues"}},
    {"difference", {"المستحقات − الاقتطاعات", "Gains − retenues"}},
    {"rounding", {"فرق التقريب", "Écart d'arrondi"}},
    {"rounding_note",
     {"فرق التقريب: يحسب الكشف منحة المنطقة ومنحة السكن كما كتبتا ثم يقرب المجموع إلى السنتيم، بينما يظهر كل سطر "
      "هنا مقربا إلى السنتيم.",
      "Écart d'arrondi : la paie compte les indemnités de zone et de logement telles que saisies puis arrondit le "
      "total au centime, alors que chaque ligne est ici arrondie au centime."}},
    {"in_words", {"الراتب الصافي بالحروف", "Net à payer en lettres"}},
    {"bonus", {"منحة المردودية (3 اشهر)", "Prime de rendement (trimestre)"}},
    {"mark", {"العلامة", "Note"}},
}};
// clang-format on

constexpr const Label &Page(PageText text) { return kPageLabels[static_cast<std::size_t>(text)].label; }

} // namespace paycalc
