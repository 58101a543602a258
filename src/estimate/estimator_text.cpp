#include "estimate/estimator_text.h"

#include <string>
#include <unordered_set>

#include "domain/vocabulary.h"
#include "estimate/quick_estimate.h"

namespace decor {
namespace {

constexpr char kNumberMark = '\x01';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Every number as the number-to-text rule writes it ("-12", "3.5", "1.23457e+006") becomes
// one mark, so that texts that differ only in their figures compare equal.
std::string withNumbersMarked(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    if (text[j] == '-') ++j;
    if (j >= text.size() || !isDigit(text[j])) {
      out += text[i++];
      continue;
    }
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j + 1 < text.size() && text[j] == '.' && isDigit(text[j + 1])) {
      ++j;
      while (j < text.size() && isDigit(text[j])) ++j;
    }
    if (j + 2 < text.size() && text[j] == 'e' && (text[j + 1] == '+' || text[j + 1] == '-') && isDigit(text[j + 2])) {
      j += 2;
      while (j < text.size() && isDigit(text[j])) ++j;
    }
    out += kNumberMark;
    i = j;
  }
  return out;
}

// One run of the estimator per grade and pattern of zero counts gives every shape.
std::unordered_set<std::string> estimatorShapes() {
  std::unordered_set<std::string> shapes;
  const EstimatePrices prices = EstimatePrices::defaults();
  for (const std::string_view grade : kDecorationGrades) {
    for (unsigned zeros = 0; zeros < 32; ++zeros) {
      QuickEstimateInput input;
      input.grade = std::string(grade);
      input.bedrooms = (zeros & 1) ? 0 : 2;
      input.halls = (zeros & 2) ? 0 : 1;
      input.kitchens = (zeros & 4) ? 0 : 1;
      input.bathrooms = (zeros & 8) ? 0 : 1;
      input.balconies = (zeros & 16) ? 0 : 1;
      QuickEstimator estimator;
      estimator.run(input, prices);
      shapes.insert(withNumbersMarked(resultWindowText(estimator.resultText())));
    }
  }
  return shapes;
}

}  // namespace

bool isEstimatorResult(std::string_view text) {
  static const std::unordered_set<std::string> shapes = estimatorShapes();
  if (text.find(kNumberMark) != std::string_view::npos) return false;
  return shapes.count(withNumbersMarked(text)) != 0;
}

}  // namespace decor
