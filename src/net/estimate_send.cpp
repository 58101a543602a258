#include "net/estimate_send.h"

#include "contact/estimate_form.h"
#include "contact/percent_encoding.h"

namespace decor {
namespace {

constexpr std::string_view kAskForEmail = "请输入邮箱！";
constexpr std::string_view kAskForPhone = "请输入邮箱手机号！";
constexpr std::string_view kSuccessMark = "发送成功";

}  // namespace

std::optional<MissingSendInput> missingSendInput(std::string_view email, std::string_view phone) {
  if (email.empty()) return MissingSendInput{MissingSendInput::Box::Email, kAskForEmail};
  if (phone.empty()) return MissingSendInput{MissingSendInput::Box::Phone, kAskForPhone};
  return std::nullopt;
}

bool isSendSuccess(std::string_view reply) {
  return decodeReply(reply).find(kSuccessMark) != std::string::npos;
}

FormPoster httpFormPoster(const HttpLimits& limits, std::shared_ptr<const CancelFlag> cancel) {
  return [limits, cancel = std::move(cancel)](const std::string& url, const std::string& formBody) {
    std::string method = "POST";
    return httpRequest(url, method, {}, nullptr, formBody, nullptr, limits, cancel.get());
  };
}

std::string_view sendEstimateForm(const FormPoster& post, const Endpoints& endpoints, std::string_view email,
                                  std::string_view resultText, std::string_view phone) {
  const std::string reply = post ? post(endpoints.estimateSendUrl(), estimateFormBody(email, resultText, phone)) : std::string();
  return isSendSuccess(reply) ? kSendSucceeded : kSendFailed;
}

}  // namespace decor
