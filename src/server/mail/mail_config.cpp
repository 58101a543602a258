#include "server/mail/mail_config.h"

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "contact/contact_rules.h"
#include "deployment/deployment_values.h"
#include "server/mail/mail_message.h"

namespace decor::server {

const char* const kMailOptionsHelp =
    "\n"
    "邮件投递（不指定 --smtp 时关闭，启动时提示一次）:\n"
    "  --smtp URL                  公司邮件服务器：smtps://主机:465，或 smtp://主机:587（必须支持\n"
    "                              STARTTLS；只有本机上的 smtp://127.0.0.1 可以不加密）\n"
    "  --smtp-user 名称            登录邮件服务器的用户名\n"
    "  --smtp-password-file 文件   登录密码所在的文件，只能由服务用户读取（权限 0600 或 0400）\n"
    "  --mail-from 地址            发件地址，客户邮件和销售邮件都从它发出\n"
    "  --sales-mail 地址           销售邮箱：接收每一条新的报价咨询，也是客户回复的地址\n"
    "  --company 名称              发件人名称和邮件标题中的公司名称，默认 " DECOR_DEPLOY_COMPANY_NAME "\n"
    "  --mail-retry-first 秒       第一次重试前等待的时间，默认 60；以后每次加倍\n"
    "  --mail-retry-longest 秒     两次重试之间最长的等待，默认 3600\n"
    "  --mail-give-up 秒           排队多久仍未送出就放弃，默认 172800（48 小时）\n";

namespace {

std::optional<std::chrono::milliseconds> seconds(const std::optional<std::string>& text,
                                                 std::chrono::milliseconds fallback, const char* option,
                                                 std::string& error) {
  if (!text) return fallback;
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(*text, &used);
  } catch (...) {
    used = 0;
  }
  if (used != text->size() || !std::isfinite(value) || value <= 0 || value > 1e9) {
    error = std::string("选项 ") + option + " 应为大于 0 的秒数：" + *text;
    return std::nullopt;
  }
  return std::chrono::milliseconds(static_cast<std::int64_t>(std::ceil(value * 1000)));
}

// The password stays out of the command line and out of files others may read.
std::optional<std::string> readPassword(const std::string& file, std::string& error) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    error = "密码文件 " + file + " 不存在或无法访问";
    return std::nullopt;
  }
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    error = "密码文件 " + file + " 其他用户也能读取，请改为只有服务用户可读（chmod 600）";
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), {});
  if (!in && !in.eof()) {
    error = "密码文件 " + file + " 无法读取";
    return std::nullopt;
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

bool takeMailOptions(std::vector<std::string>& args, MailOptions& options, std::string& error) {
  const std::pair<const char*, std::optional<std::string>*> slots[] = {
      {"--smtp", &options.smtp},
      {"--smtp-user", &options.user},
      {"--smtp-password-file", &options.passwordFile},
      {"--mail-from", &options.from},
      {"--sales-mail", &options.sales},
      {"--company", &options.company},
      {"--mail-retry-first", &options.retryFirst},
      {"--mail-retry-longest", &options.retryLongest},
      {"--mail-give-up", &options.giveUp},
  };
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::optional<std::string>* slot = nullptr;
    for (const auto& [name, target] : slots) {
      if (args[i] == name) slot = target;
    }
    if (!slot) {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "选项 " + args[i] + " 缺少参数";
      return false;
    }
    *slot = args[++i];
  }
  args = std::move(rest);
  return true;
}

std::optional<MailSettings> mailSettingsFrom(const MailOptions& options, std::string& error) {
  error.clear();
  if (!options.smtp || options.smtp->empty()) return std::nullopt;
  MailSettings mail;
  mail.account.url = *options.smtp;
  if (!mail.account.url.starts_with("smtp://") && !mail.account.url.starts_with("smtps://")) {
    error = "--smtp 应以 smtp:// 或 smtps:// 开头：" + mail.account.url;
    return std::nullopt;
  }
  if (options.user && !options.user->empty()) {
    if (!options.passwordFile || options.passwordFile->empty()) {
      error = "指定了 --smtp-user 就需要 --smtp-password-file";
      return std::nullopt;
    }
    const auto password = readPassword(*options.passwordFile, error);
    if (!password) return std::nullopt;
    mail.account.user = *options.user;
    mail.account.password = *password;
  }
  const std::pair<const char*, const std::optional<std::string>*> addresses[] = {
      {"--mail-from", &options.from}, {"--sales-mail", &options.sales}};
  for (const auto& [name, value] : addresses) {
    if (!*value || !acceptableEmail(**value, EmailStrictness::MailRecipient)) {
      error = std::string(name) + " 需要一个邮箱地址（如 name@example.com）" + (*value ? "：" + **value : "");
      return std::nullopt;
    }
  }
  mail.from = *options.from;
  mail.sales = *options.sales;
  mail.company = options.company && !options.company->empty() ? withoutControls(*options.company)
                                                              : DECOR_DEPLOY_COMPANY_NAME;
  const RetryTiming defaults;
  const auto first = seconds(options.retryFirst, defaults.first, "--mail-retry-first", error);
  const auto longest = seconds(options.retryLongest, defaults.longest, "--mail-retry-longest", error);
  const auto giveUp = seconds(options.giveUp, defaults.giveUp, "--mail-give-up", error);
  if (!first || !longest || !giveUp) return std::nullopt;
  mail.retry = {*first, *longest, *giveUp};
  return mail;
}

}  // namespace decor::server
