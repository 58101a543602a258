#include "server/web/estimate_api.h"

#include <string_view>
#include <vector>

#include "domain/vocabulary.h"
#include "text/number_format.h"

namespace decor::web {
namespace {

constexpr std::int64_t kMaxCount = 9;  // the window's lists offer 0 to 9

constexpr std::array<std::pair<Field, std::int32_t QuickEstimateInput::*>, 5> kCounts{{
    {{"bedrooms", "室"}, &QuickEstimateInput::bedrooms},
    {{"halls", "厅"}, &QuickEstimateInput::halls},
    {{"kitchens", "厨"}, &QuickEstimateInput::kitchens},
    {{"bathrooms", "卫"}, &QuickEstimateInput::bathrooms},
    {{"balconies", "阳台"}, &QuickEstimateInput::balconies},
}};
constexpr Field kArea{"area", "实际面积"};
constexpr Field kGrade{"grade", "装修类型"};

std::string gradeChoices() {
  std::string text;
  for (const std::string_view grade : kDecorationGrades) {
    if (!text.empty()) text += "、";
    text += "“" + std::string(grade) + "”";
  }
  return text;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 2;
  }
}

}  // namespace

std::variant<QuickEstimateInput, ApiError> readEstimateInput(const json::Value& body) {
  QuickEstimateInput input;
  for (const auto& [field, member] : kCounts) {
    auto count = integerField(body, field, 0, kMaxCount);
    if (auto* error = std::get_if<ApiError>(&count)) return std::move(*error);
    input.*member = static_cast<std::int32_t>(std::get<std::int64_t>(count));
  }

  const json::Value* area = body.find(kArea.name);
  const std::string areaRule = "应为 0 到 " + formatDouble(kMaxEstimateArea) + " 平方米的面积";
  const std::string areaName(kArea.name);
  if (area == nullptr) return ApiError{400, "缺少" + kArea.described() + "，" + areaRule, areaName};
  if (const std::string* text = area->asString()) {
    input.area = *text;
  } else if (const json::Number* number = area->asNumber()) {
    input.area = number->text;  // the estimator reads it as the text it was written as
  } else {
    return ApiError{400, kArea.described() + "应为字符串或数字", areaName};
  }
  if (!isAcceptedArea(input.area)) return ApiError{400, kArea.described() + areaRule, areaName};

  auto grade = stringField(body, kGrade);
  if (auto* error = std::get_if<ApiError>(&grade)) return std::move(*error);
  if (!decorationGradeIndex(std::get<std::string>(grade))) {
    return ApiError{400, kGrade.described() + "应为 " + gradeChoices() + " 之一", std::string(kGrade.name)};
  }
  input.grade = std::move(std::get<std::string>(grade));
  return input;
}

EstimateAnswer computeEstimate(const QuickEstimateInput& input, const EstimatePrices& prices) {
  QuickEstimator estimator;
  estimator.run(input, prices);
  EstimateAnswer answer;
  answer.text = resultWindowText(estimator.resultText());
  const QuickEstimateFigures& f = estimator.figures();
  const float figures[4] = {f.T1, f.T2, f.T3, f.T4};
  const std::vector<std::string_view> lines = linesOf(answer.text);
  std::size_t next = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    answer.prices[i] = formatSingle(figures[i]);
    const std::string ending = answer.prices[i] + "元";
    while (next < lines.size() && !(lines[next].find("的价格为：") != std::string_view::npos &&
                                     lines[next].ends_with(ending))) {
      ++next;
    }
    answer.priceLines[i] = next++;
  }
  return answer;
}

json::Value estimateJson(const EstimateAnswer& answer) {
  json::Array prices;
  for (std::size_t i = 0; i < 4; ++i) {
    prices.push_back(json::Object{{"line", json::Value::integer(static_cast<std::int64_t>(answer.priceLines[i]))},
                                  {"amount", answer.prices[i]}});
  }
  return json::Object{{"text", answer.text}, {"prices", std::move(prices)}};
}

}  // namespace decor::web
