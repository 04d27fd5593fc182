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
    Compare, Before, After, Change, BackPay, Months, Quarters, NetDifference, BonusDifference,
    BackPayMonthly, BackPayBonus, BackPayTotal, BackPayNote, CompareHint,
    Ladder, NetStep, CategoryAbove, CurrentEchelon, LadderHint,
    Check, Ours, Official, CheckDifference, Result, Agrees, Differs, OurComputation, AllAgree, SomeDiffer,
    CheckHint, Slip,
};
// clang-format on

struct PageLabel {
    std::string_view key; // the name a page's script knows it by
    Label label;
};

// In the order of PageText.
// clang-format off
inline constexpr std::array<PageLabel, 55> kPageLabels{{
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
    // The comparison of two situations and the back pay.
    {"compare", {"مقارنة وضعيتين", "Comparer deux situations"}},
    {"before", {"الوضعية الحالية", "Situation actuelle"}},
    {"after", {"الوضعية الجديدة", "Nouvelle situation"}},
    {"change", {"الفرق (الجديدة − الحالية)", "Écart (nouvelle − actuelle)"}},
    {"back_pay", {"المخلفات", "Rappel"}},
    {"months", {"الأشهر", "Mois"}},
    {"quarters", {"الثلاثيات الكاملة", "Trimestres entiers"}},
    {"net_difference", {"فرق الراتب الصافي في الشهر", "Écart du net à payer par mois"}},
    {"bonus_difference", {"فرق مبلغ المردودية في الثلاثي", "Écart de la prime de rendement par trimestre"}},
    {"back_pay_monthly", {"الرواتب الشهرية", "Part mensuelle"}},
    {"back_pay_bonus", {"المردودية", "Part de la prime"}},
    {"back_pay_total", {"المجموع", "Total"}},
    {"back_pay_note",
     {"يحسب كل شهر بسلم الضريبة الشهري، كما لو دفع في شهره: لا تطبق على المخلفات أي معاملة ضريبية خاصة.",
      "Chaque mois est calculé au barème mensuel, comme s'il avait été payé en son temps : aucun traitement fiscal "
      "particulier du rappel."}},
    {"compare_hint",
     {"غير في الوضعية الجديدة ما تريد.", "Changez dans la nouvelle situation ce que vous voulez."}},
    // The career ladder.
    {"ladder", {"سلم الدرجات", "Grille des échelons"}},
    {"net_step", {"الزيادة في الراتب الصافي", "Hausse du net à payer"}},
    {"category_above", {"الصنف الأعلى", "Catégorie supérieure"}},
    {"current_echelon", {"الحالية", "actuel"}},
    {"ladder_hint", {"المس درجة لترى كشفها.", "Touchez un échelon pour voir sa fiche."}},
    // An official slip checked against ours.
    {"check", {"مراجعة كشف رسمي", "Vérifier une fiche officielle"}},
    {"ours", {"مبلغنا", "Notre montant"}},
    {"official", {"المبلغ الرسمي", "Montant officiel"}},
    {"check_difference", {"الفرق", "Écart"}},
    {"result", {"النتيجة", "Résultat"}},
    {"agrees", {"مطابق", "Concorde"}},
    {"differs", {"غير مطابق", "Diffère"}},
    {"our_computation", {"شرح حسابنا", "Notre calcul"}},
    {"all_agree", {"كل المبالغ المكتوبة مطابقة", "Tous les montants saisis concordent"}},
    {"some_differ", {"بعض المبالغ غير مطابقة", "Certains montants diffèrent"}},
    {"check_hint",
     {"اكتب مبالغ الكشف الرسمي كما طبعت، الراتب الصافي على الأقل.",
      "Saisissez les montants de la fiche officielle tels qu'imprimés, le net à payer au moins."}},
    {"slip", {"الكشف", "Fiche"}},
}};
// clang-format on

constexpr const Label &Page(PageText text) { return kPageLabels[static_cast<std::size_t>(text)].label; }

} // namespace paycalc
