#include "estimate/quick_estimate.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "estimate/cost_lines.h"
#include "text/number_format.h"
#include "text/text_to_number.h"

namespace decor {
namespace {

using estimate::CostLine;
using estimate::CostLines;
using estimate::Flat;
using estimate::GradeList;
using estimate::Op;
using estimate::Print;
using estimate::When;

constexpr const char* kDetailsHeader =
    "\r\n\r\n**************************************\r\n             计算详情\r\n"
    "**************************************\r\n";
constexpr const char* kSeparator = "\r\n下面是普地板或是地砖的，不可重复计算。\r\n";
constexpr const char* kClosingAdvice =
    "\r\n\r\n*如差别与心里的太大，请尝试用详细报价。如果您在Tarsel，可以QQ客服在线咨询报价以及设计！";

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

// Every figure is kept in single precision; one that would not be a finite number is 0, so
// that no price shown to a customer reads inf or nan.
// (Checked before the conversion, which is undefined for a value beyond the float range.)
float store(double value) {
  if (!(std::fabs(value) <= std::numeric_limits<float>::max())) return 0.0f;
  return static_cast<float>(value);
}

std::string printed(Print print, double amount) {
  switch (print) {
    case Print::Single: return formatSingle(amount);
    case Print::Double: return formatDouble(amount);
    case Print::Integer: return formatInteger(static_cast<std::int64_t>(amount));
    case Print::None: break;
  }
  return {};
}

bool happens(When when, const QuickEstimateInput& input) {
  switch (when) {
    case When::Always: return true;
    case When::Halls: return input.halls != 0;
    case When::Bedrooms: return input.bedrooms != 0;
    case When::Balconies: return input.balconies != 0;
  }
  return false;
}

void appendLine(std::string& details, std::string_view label, const std::string& amount,
                std::string_view ending = "元\r\n") {
  details.append(label).append(amount).append(ending);
}

// Both fee lines show their share of the already raised sum.
void applyFees(float& sum, std::string& details) {
  sum = store(sum * 1.01);
  appendLine(details, "算材料搬运、垃圾清理：", formatSingle(sum * 0.01));
  sum = store(sum * 1.08);
  appendLine(details, "工程管理费：", formatSingle(sum * 0.08));
}

void runLines(const CostLines& lines, float& sum, const QuickEstimateInput& input, const Flat& flat,
              std::string& details) {
  for (const CostLine& line : lines) {
    if (!happens(line.when, input)) continue;
    if (line.op == Op::Fees) {
      applyFees(sum, details);
      continue;
    }
    const double amount = finiteOrZero(line.amount(flat));
    sum = store(line.op == Op::Start ? amount : sum + amount);
    if (line.label == nullptr) continue;
    const double shown = line.shown ? finiteOrZero(line.shown(flat)) : amount;
    appendLine(details, line.label, printed(line.print, shown), line.ending);
  }
}

const GradeList* findGrade(const std::string& grade) {
  for (const GradeList& list : estimate::gradeLists())
    if (grade == list.grade) return &list;
  return nullptr;
}

}  // namespace

void QuickEstimator::run(const QuickEstimateInput& input, const EstimatePrices& prices) {
  QuickEstimateFigures& v = figures_;
  details_ = kDetailsHeader;

  // Counts widen before they are added, so no sum of counts can overflow.
  const double bedrooms = input.bedrooms;
  const double halls = input.halls;
  const double kitchens = input.kitchens;
  const double bathrooms = input.bathrooms;
  const double balconies = input.balconies;

  const float S = store(textToNumber(input.area));
  const double rootS = std::sqrt(static_cast<double>(S));
  v.K = store(rootS * kitchens / 2);
  if (input.kitchens != 0) appendLine(details_, "厨房面积为：", formatSingle(v.K * kitchens), "平方米\r\n");
  v.B = store(rootS * bathrooms * 0.7);
  if (input.bathrooms != 0) appendLine(details_, "卫浴面积为：", formatSingle(v.B * bathrooms), "平方米\r\n");
  v.Y = store(rootS * balconies * 0.7);
  if (input.balconies != 0) appendLine(details_, "阳台面积为：", formatSingle(v.Y * balconies), "平方米\r\n");
  v.R = store(((static_cast<double>(S) - v.B) - v.K) - v.Y);
  // No bedroom and no hall: the division has no value and the bedroom figure is 0.
  v.P = store(v.R / (bedrooms + halls));
  appendLine(details_, "卧室面积为：", formatSingle(v.P * bedrooms), "平方米\r\n");
  if (input.halls != 0) {
    v.H = store((v.R - v.P * bedrooms) / halls);
    appendLine(details_, "客餐厅面积为：", formatSingle(v.H * halls), "平方米\r\n");
  } else {
    v.H = 0;
  }
  details_ += "\r\n";

  const GradeList* list = findGrade(input.grade);
  if (list == nullptr) return;

  const Flat flat{.K = v.K, .B = v.B, .Y = v.Y, .P = v.P, .H = v.H,
                  .bedrooms = bedrooms, .halls = halls, .kitchens = kitchens,
                  .bathrooms = bathrooms, .balconies = balconies,
                  .N3 = bathrooms + kitchens + bedrooms,
                  .N4 = bedrooms + halls + kitchens + bathrooms,
                  .prices = &prices};

  runLines(list->halfPackage, v.T1, input, flat, details_);
  v.F = v.T1;  // already single precision, so this equals F = T1 + the first line stored once
  runLines(list->fullPackage, v.F, input, flat, details_);

  // The living-room split and the first formula of T4: each sum is taken in double and stored
  // once, T4 adding its four terms one after another; the living-room lines show the amounts.
  const double tiledHalf = list->livingRoom.tiledHalfPackage(flat);
  const double woodenFloorFull = list->livingRoom.woodenFloorFullPackage(flat);
  v.T2 = store(v.T1 + tiledHalf);
  v.T3 = store(v.F + woodenFloorFull);
  const auto& terms = list->tiledFullPackage;
  const double tiles = terms.livingRoomTiles(flat);
  const double kitchen = terms.kitchenMainMaterials(flat);
  const double bathroom = terms.bathroomMainMaterials(flat);
  const double extra = terms.perRoomExtra(flat);
  v.T4 = store(v.T2 + tiles + kitchen + bathroom + extra);
  runLines(list->tiledFullPackageLines, v.T4, input, flat, details_);

  details_ += kSeparator;
  appendLine(details_, "客餐厅铺砖半包：", formatSingle(tiledHalf));
  appendLine(details_, "客餐厅铺地板全包：", formatSingle(woodenFloorFull));
  appendLine(details_, "客餐厅铺砖全包的五金、厨房、地砖、卫生间：", formatSingle(tiles + kitchen + bathroom + extra));

  std::string result(list->headline);
  result.append(formatSingle(v.T1)).append("元\r\n客餐厅铺瓷砖半包装修的价格为：");
  result.append(formatSingle(v.T2)).append("元\r\n\r\n客餐厅铺地板全包装修的价格为：");
  result.append(formatSingle(v.T3)).append("元\r\n客餐厅铺瓷砖全包装修的价格为：");
  result.append(formatSingle(v.T4)).append(list->note).append(details_);
  result_ = std::move(result);
}

bool isAcceptedArea(std::string_view areaText) {
  const double area = textToNumber(areaText);
  return area >= 0 && area <= kMaxEstimateArea;
}

std::string resultWindowText(const std::string& resultText) { return resultText + kClosingAdvice; }

}  // namespace decor
