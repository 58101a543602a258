#pragma once
// Sending a quick-estimate result to the customer: the boxes the send cannot do without, the
// post of the form (contact/estimate_form.h) to the estimate server and the reading of its
// reply. The e-mail box's own check is acceptableEmail(…, EmailStrictness::DesktopBox).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "contact/estimate_form.h"  // the form the send posts; callers build it for their own posters
#include "deployment/endpoints.h"
#include "net/http_client.h"

namespace decor {

inline constexpr std::string_view kSendingCaption = "正在发送中。。。";
inline constexpr std::string_view kSendSucceeded = "发送成功！";
inline constexpr std::string_view kSendFailed = "发送失败！";
inline constexpr std::string_view kNoSuchEmail = "亲，您输入的邮箱在这个地球上不存在！";

// A box the send cannot do without, with the message that asks for it.
struct MissingSendInput {
  enum class Box { Email, Phone } box;
  std::string_view message;
};

// The first empty box of the two (the e-mail address first), or none.
std::optional<MissingSendInput> missingSendInput(std::string_view email, std::string_view phone);

// The reply counts as success when its decoded text holds "发送成功" anywhere.
bool isSendSuccess(std::string_view reply);

// Posts a form body to a URL and returns the reply, empty when the server was not reached.
// Blocks; called from worker threads.
using FormPoster = std::function<std::string(const std::string& url, const std::string& formBody)>;

// The program's poster: httpRequest with the method "POST", no proxy and no extra headers.
// Once `cancel` (when given) is set, posts under way end and later ones fail at once.
FormPoster httpFormPoster(const HttpLimits& limits = {}, std::shared_ptr<const CancelFlag> cancel = nullptr);

// Posts the estimate to the estimate server and returns the outcome to show: kSendSucceeded
// or kSendFailed. Blocks the calling thread.
std::string_view sendEstimateForm(const FormPoster& post, const Endpoints& endpoints, std::string_view email,
                                  std::string_view resultText, std::string_view phone);

}  // namespace decor
