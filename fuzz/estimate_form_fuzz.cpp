// The estimate form's parser: any body is answered without a crash, an accepted form
// holds three non-empty valid UTF-8 fields, and a body the program itself builds from any
// fields parses back to the same fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contact/estimate_form.h"
#include "fuzz_check.h"
#include "text/utf8.h"

namespace {

void checkParse(const decor::FormParse& parse) {
  FUZZ_CHECK(parse.form.has_value() == parse.error.empty());
  if (!parse.form) return;
  for (const std::string* field : {&parse.form->email, &parse.form->phone, &parse.form->result}) {
    FUZZ_CHECK(!field->empty());
    FUZZ_CHECK(decor::isValidUtf8(*field));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    const std::string body = input.ConsumeRemainingBytesAsString();
    const decor::FormParse parse = decor::parseEstimateForm(body);
    checkParse(parse);
    if (body.size() > decor::kMaxFormBytes) FUZZ_CHECK(!parse.form);
    return 0;
  }

  const std::string email = input.ConsumeRandomLengthString(64);
  const std::string phone = input.ConsumeRandomLengthString(32);
  const std::string result = input.ConsumeRemainingBytesAsString();
  const std::string body = decor::estimateFormBody(email, result, phone);
  const decor::FormParse parse = decor::parseEstimateForm(body);
  checkParse(parse);
  // A form the customer filled in whole with valid UTF-8 is accepted when within the limit;
  // it comes back field for field unless the text itself spells the line-break tag.
  const bool complete = !email.empty() && !phone.empty() && !result.empty() && decor::isValidUtf8(email) &&
                        decor::isValidUtf8(phone) && decor::isValidUtf8(result);
  FUZZ_CHECK(parse.form.has_value() == (complete && body.size() <= decor::kMaxFormBytes));
  if (parse.form && result.find("<br />") == std::string::npos)
    FUZZ_CHECK((*parse.form == decor::EstimateForm{.email = email, .phone = phone, .result = result}));
  return 0;
}
