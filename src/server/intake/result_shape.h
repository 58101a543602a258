#pragma once
// Whether a received result text is one this estimator wrote: the result window's text with
// any numbers in it. Only such a text is mailed to the address that came with it.
#include <string_view>

namespace decor::server {

bool isEstimatorResult(std::string_view text);

}  // namespace decor::server
