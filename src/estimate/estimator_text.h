#pragma once
// Whether a text is one that this estimator wrote: the result window's text
// (resultWindowText of a QuickEstimator's result) with any figures in it. The estimate server
// mails a received result to the address that came with it only when it is such a text, so
// that the form cannot be used to send strangers mail of one's own making.
//
// The recognition rests on one assumption about the estimator: which lines its text holds,
// and every character of them apart from the figures, depends only on the grade and on which
// of the five room counts are 0; never on the area, on the counts' values otherwise, or on
// the prices. So one run for each grade and each of the 32 patterns of zero counts yields
// every shape a result can take; a text whose numbers are masked must equal one of them.
// estimator_text_test.cpp fails when a change to the estimator breaks the assumption.
#include <string_view>

namespace decor {

bool isEstimatorResult(std::string_view text);

}  // namespace decor
