#pragma once
// A posted estimate form read and checked before anything else happens to it: refused as
// unreadable (not a form the customer's program writes) or implausible (a field fails its
// check), each with the reason the sender is told.
#include <string>
#include <string_view>

#include "contact/estimate_form.h"

namespace decor::server {

struct CheckedForm {
  enum class Fault { None, Unreadable, Implausible };
  Fault fault = Fault::None;
  std::string why;    // for the reply; empty without a fault
  EstimateForm form;  // the fields, without a fault
};

CheckedForm checkForm(std::string_view body);

// The reply body for an estimate that was kept; a refused one never contains it.
inline constexpr const char* kAcceptedReply = "发送成功";

}  // namespace decor::server
