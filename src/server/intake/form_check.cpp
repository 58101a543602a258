#include "server/intake/form_check.h"

#include "contact/contact_rules.h"

namespace decor::server {

CheckedForm checkForm(std::string_view body) {
  FormParse parsed = parseEstimateForm(body);
  if (!parsed.form) return {CheckedForm::Fault::Unreadable, std::move(parsed.error), {}};
  if (std::string why = implausibleField(*parsed.form); !why.empty()) {
    return {CheckedForm::Fault::Implausible, std::move(why), {}};
  }
  return {CheckedForm::Fault::None, {}, std::move(*parsed.form)};
}

}  // namespace decor::server
