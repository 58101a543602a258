#include "server/commands/commands.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <thread>

#include "pricing/price_file_writer.h"
#include "pricing/price_files.h"
#include "server/clock/time_text.h"
#include "server/intake/estimate_intake.h"
#include "server/log/log_line.h"
#include "server/mail/delivery_worker.h"
#include "server/mail/mail_outbox.h"
#include "server/router/company_server.h"
#include "server/staff/inbox_listing.h"
#include "server/staff/outbox_listing.h"

namespace decor::server {
namespace {

constexpr const char* kServeUsage =
    "用法: decor-company-server [--host 地址] [--port 端口] [--data 文件] [--prices 文件夹] [--locations 文件]\n"
    "                           [限制选项…] [网页版选项…]\n"
    "\n"
    "在一个端口上提供公司的全部服务：价格文件 /bj/AppConfig.xml 和 /bj/Xiangxi.xml、\n"
    "访问计数 /bjtj/ 和 /bjtj/love.txt、报价接收 /site/send、在线咨询图片 /pa 和页面 /msgrd、\n"
    "号码归属地查询 /Locating/…，以及网页版估算 / 和它的 JSON 接口 /api/…。\n"
    "开始接受连接后在标准输出打印一行“正在监听 http://地址:端口”。\n"
    "/healthz 供代理和监控检查：数据库可写且没有超过放弃时间的待发邮件时回复 200，否则 503 和原因。\n"
    "日志（启动、500 错误、邮件发送失败、被拒绝的请求计数、停止）每件事一行写到标准错误。\n"
    "收到 SIGTERM 或 SIGINT（Ctrl+C）后不再接受新连接，答复已收到的请求后正常退出。\n"
    "\n"
    "选项:\n"
    "  --host 地址        监听地址，默认 127.0.0.1\n"
    "  --port 端口        监听端口，默认 8080；0 表示任选一个空闲端口\n"
    "  --data 文件        数据库文件（收到的报价和访问计数），首次使用时创建，仅所有者可读写；\n"
    "                     默认 ~/.local/share/decor-company-server/company.sqlite3\n"
    "  --prices 文件夹    员工编辑的价格文件所在文件夹，每次请求时重新读取，修改后无需重启；\n"
    "                     文件夹中没有的文件按内置默认价格生成；默认为数据库旁的 prices 文件夹\n"
    "  --locations 文件   号码归属地表：每行七位号段、空白、省份（UTF-8），# 开头的行为注释；\n"
    "                     不指定时使用内置的几个号段\n"
    "  --trusted-proxy 地址  服务器前面的反向代理（如本机的 nginx：127.0.0.1）的地址或网段\n"
    "                     （如 10.0.0.0/8、fd00::/8），可重复，也可用逗号分隔几个；空值表示没有。\n"
    "                     经它来的请求按 X-Forwarded-For 中它所见的客户端地址计算各项限制和访问；\n"
    "                     其他来源的 X-Forwarded-For 一律不理会\n"
    "  -h, --help         显示本帮助\n"
    "%MAIL%"
    "\n"
    "限制（按客户端地址计，IPv6 按 /64 计）:\n"
    "  --deadline 秒                 一个请求（请求头和正文）须在此时间内到齐，默认 10\n"
    "  --connections-per-address 数  同一地址同时打开的连接数上限，默认 50\n"
    "  --max-connections 数          全部连接数上限，默认 4000\n"
    "  --estimate-limit 数           同一地址在一个时间窗口内可发送的报价数，默认 20；\n"
    "                                超出时回复 429 和“发送失败”（旧名 --quote-limit）\n"
    "  --estimate-window 秒          报价限制的时间窗口，默认 600（旧名 --quote-window）\n"
    "  --visit-window 秒             同一地址在此时间内只计一次访问（只计 GET），默认 3600\n"
    "  --body-budget MiB             尚未读完的请求正文合计最多占用的内存，默认 64；\n"
    "                                超出时新的请求立即收到 503 和“发送失败”\n"
    "  不可更改：请求正文最多 64 KiB（超出回复 413），请求行和请求头合计最多约 32 KiB\n"
    "  （超出回复 431），不接受压缩的请求正文（回复 415）。被拒绝的请求按原因计数，\n"
    "  每分钟至多一行写到标准错误。\n"
    "\n"
    "其他命令:\n"
    "  decor-company-server inbox --data 文件 [--csv]   列出收到的报价，最新的在前\n"
    "  decor-company-server outbox --data 文件 [--retry 编号]   列出待发送和发送失败的邮件\n"
    "  decor-company-server prices --write 文件夹        写出两个默认价格文件\n";

constexpr const char* kInboxUsage =
    "用法: decor-company-server inbox [--data 文件] [--csv]\n"
    "\n"
    "列出数据库中收到的报价，最新的在前。服务器运行时也可以读取。\n"
    "\n"
    "选项:\n"
    "  --data 文件   数据库文件，默认 ~/.local/share/decor-company-server/company.sqlite3\n"
    "  --csv         以 CSV（RFC 4180，UTF-8 带 BOM，首行为 时间,邮箱,手机,报价内容）输出；\n"
    "                以 = + - @ ' 制表符或回车开头的字段前加一个 '，表格软件不会把它当作公式\n"
    "  -h, --help    显示本帮助\n";

constexpr const char* kPricesUsage =
    "用法: decor-company-server prices --write 文件夹\n"
    "\n"
    "把内置默认价格写成 AppConfig.xml（快速估算价格）和 Xiangxi.xml（详细报价单价）\n"
    "两个文件，员工可在此基础上修改。文件夹不存在时创建；已有的同名文件不会被覆盖。\n";

// The serve command's help with the mail options in their place.
const std::string& serveUsage() {
  static const std::string usage = [] {
    const std::string text = kServeUsage;
    const std::size_t mark = text.find("%MAIL%");
    return text.substr(0, mark) + kMailOptionsHelp + web::kWebOptionsHelp + text.substr(mark + 6);
  }();
  return usage;
}

constexpr const char* kOutboxUsage =
    "用法: decor-company-server outbox [--data 文件] [--retry 编号]\n"
    "\n"
    "列出发件箱中待发送和发送失败的邮件，带邮件服务器的最后回复。服务器运行时也可以使用。\n"
    "\n"
    "选项:\n"
    "  --data 文件     数据库文件，默认 ~/.local/share/decor-company-server/company.sqlite3\n"
    "  --retry 编号    把一封发送失败的邮件重新排队；运行中的服务器几秒内开始发送\n"
    "  -h, --help      显示本帮助\n";

bool wantsHelp(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == "-h" || arg == "--help") return true;
  }
  return false;
}

// Reads "--name value" pairs; false with a message on an unknown option or a missing value.
struct Options {
  std::optional<std::string> host, port, data, prices, locations, write, retry;
  std::optional<std::string> deadline, perAddress, connections, estimateLimit, estimateWindow, visitWindow,
      bodyBudget;
  bool csv = false;
  // As given, so that a complaint names the option the caller wrote.
  std::string estimateLimitName = "--estimate-limit";
  std::string estimateWindowName = "--estimate-window";
};

// Takes every --trusted-proxy out of `args`. Each value is one or more addresses or CIDR
// blocks separated by commas or blanks; an empty one adds none, so that a service file can
// pass an unset variable. The blocks as written go to `written`, for the start line.
bool takeTrustedProxies(std::vector<std::string>& args, TrustedProxies& proxies, std::string& written,
                        std::string& error) {
  std::vector<AddressBlock> blocks;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--trusted-proxy") {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "选项 --trusted-proxy 缺少参数";
      return false;
    }
    const std::string& value = args[++i];
    std::size_t start = 0;
    while (start < value.size()) {
      const std::size_t end = std::min(value.find_first_of(", ", start), value.size());
      const std::string one = value.substr(start, end - start);
      start = end + 1;
      if (one.empty()) continue;
      const auto block = parseAddressBlock(one);
      if (!block) {
        error = "--trusted-proxy 应为 IP 地址或网段（如 127.0.0.1、10.0.0.0/8、::1）：" + one;
        return false;
      }
      blocks.push_back(*block);
      written += (written.empty() ? "" : "、") + one;
    }
  }
  proxies = TrustedProxies(std::move(blocks));
  args = std::move(rest);
  return true;
}

// The names these options had before estimates were called estimates; scripts and unit
// files still use them.
bool isEstimateLimit(const std::string& arg) { return arg == "--estimate-limit" || arg == "--quote-limit"; }
bool isEstimateWindow(const std::string& arg) { return arg == "--estimate-window" || arg == "--quote-window"; }

bool readOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed, Options& options,
                 std::ostream& err, const char* usage) {
  auto allowedHere = [&allowed](const std::string& name) {
    for (const auto& a : allowed) {
      if (a == name) return true;
    }
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--csv" && allowedHere(arg)) {
      options.csv = true;
      continue;
    }
    std::optional<std::string>* slot = nullptr;
    if (arg == "--host") slot = &options.host;
    if (arg == "--port") slot = &options.port;
    if (arg == "--data") slot = &options.data;
    if (arg == "--prices") slot = &options.prices;
    if (arg == "--locations") slot = &options.locations;
    if (arg == "--write") slot = &options.write;
    if (arg == "--deadline") slot = &options.deadline;
    if (arg == "--connections-per-address") slot = &options.perAddress;
    if (arg == "--max-connections") slot = &options.connections;
    if (isEstimateLimit(arg)) {
      slot = &options.estimateLimit;
      options.estimateLimitName = arg;
    }
    if (isEstimateWindow(arg)) {
      slot = &options.estimateWindow;
      options.estimateWindowName = arg;
    }
    if (arg == "--visit-window") slot = &options.visitWindow;
    if (arg == "--body-budget") slot = &options.bodyBudget;
    if (arg == "--retry") slot = &options.retry;
    if (!slot || !allowedHere(arg)) {
      err << "decor-company-server: 未知选项 \"" << arg << "\"\n\n" << usage;
      return false;
    }
    if (i + 1 >= args.size()) {
      err << "decor-company-server: 选项 " << arg << " 缺少参数\n";
      return false;
    }
    *slot = args[++i];
  }
  return true;
}

std::optional<int> parsePort(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port > 65535) return std::nullopt;
  return port;
}

// A whole number from 1 to 1,000,000 for a limit option.
std::optional<unsigned> parseLimit(const std::string& text) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value < 1 || value > 1000000) return std::nullopt;
  return value;
}

bool readLimits(const Options& options, ServerSettings& settings, std::ostream& err) {
  const std::pair<const std::optional<std::string>*, const char*> given[] = {
      {&options.deadline, "--deadline"},
      {&options.perAddress, "--connections-per-address"},
      {&options.connections, "--max-connections"},
      {&options.estimateLimit, options.estimateLimitName.c_str()},
      {&options.estimateWindow, options.estimateWindowName.c_str()},
      {&options.visitWindow, "--visit-window"},
      {&options.bodyBudget, "--body-budget"}};
  unsigned values[std::size(given)] = {};
  for (std::size_t i = 0; i < std::size(given); ++i) {
    if (!*given[i].first) continue;
    const auto value = parseLimit(**given[i].first);
    if (!value) {
      err << "decor-company-server: " << given[i].second << " 应为 1 到 1000000 的整数：" << **given[i].first << "\n";
      return false;
    }
    values[i] = *value;
  }
  if (values[0]) settings.limits.deadline = std::chrono::seconds(values[0]);
  if (values[1]) settings.limits.connectionsPerAddress = values[1];
  if (values[2]) settings.limits.connections = values[2];
  if (values[3]) settings.abuse.estimatesPerWindow = values[3];
  if (values[4]) settings.abuse.estimateWindow = std::chrono::seconds(values[4]);
  if (values[5]) settings.abuse.visitWindow = std::chrono::seconds(values[5]);
  if (values[6]) settings.limits.bodyBudget = std::size_t{values[6]} * 1024 * 1024;
  return true;
}

// Every connection holds a descriptor: make room for the limit, within what the system
// allows, and keep the limit below what is there.
void fitConnectionsToDescriptors(RequestLimits& limits) {
  constexpr rlim_t kSpare = 64;  // the database, the listening socket, the price files
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return;
  const rlim_t wanted = static_cast<rlim_t>(limits.connections) + kSpare;
  if (files.rlim_cur < wanted) {
    files.rlim_cur = files.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, files.rlim_max);
    setrlimit(RLIMIT_NOFILE, &files);
    getrlimit(RLIMIT_NOFILE, &files);
  }
  if (files.rlim_cur < wanted) {
    limits.connections = static_cast<unsigned>(files.rlim_cur > 2 * kSpare ? files.rlim_cur - kSpare : kSpare);
  }
}

std::filesystem::path dataFile(const Options& options) {
  return options.data ? std::filesystem::path(*options.data) : defaultDataFolder() / "company.sqlite3";
}

// The staff commands' store, or nothing after telling why.
std::unique_ptr<EstimateStore> openForReading(const Options& options, std::ostream& err) {
  std::string error;
  auto store = EstimateStore::open(dataFile(options), EstimateStore::Access::Read, error);
  if (!store) err << "decor-company-server: " << error << "\n";
  return store;
}

// A staff command's end when the database opened but cannot be read.
int unreadable(EstimateStore& store, std::ostream& err) {
  err << "decor-company-server: 无法读取数据库：" << store.lastError() << "\n";
  return 1;
}

// An IPv6 address in brackets, as a URL writes it.
std::string hostInUrl(const std::string& host) {
  return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::filesystem::path defaultDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return std::filesystem::path(xdg) / "decor-company-server";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local/share/decor-company-server";
}

int runServeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wantsHelp(args)) {
    out << serveUsage();
    return 0;
  }
  std::vector<std::string> rest = args;
  MailOptions mailOptions;
  std::string mailError;
  if (!takeMailOptions(rest, mailOptions, mailError)) {
    err << "decor-company-server: " << mailError << "\n";
    return 2;
  }
  TrustedProxies proxies;
  std::string proxiesWritten;
  if (!takeTrustedProxies(rest, proxies, proxiesWritten, mailError)) {
    err << "decor-company-server: " << mailError << "\n";
    return 2;
  }
  web::WebSettings webSettings;
  if (!web::takeWebOptions(rest, webSettings, mailError)) {
    err << "decor-company-server: " << mailError << "\n";
    return 2;
  }
  auto mail = mailSettingsFrom(mailOptions, mailError);
  if (!mailError.empty()) {
    err << "decor-company-server: " << mailError << "\n";
    return 2;
  }
  Options options;
  if (!readOptions(rest,
                   {"--host", "--port", "--data", "--prices", "--locations", "--deadline", "--connections-per-address",
                    "--max-connections", "--estimate-limit", "--quote-limit", "--estimate-window", "--quote-window",
                    "--visit-window", "--body-budget"},
                   options, err, serveUsage().c_str())) {
    return 2;
  }

  ServerSettings settings;
  settings.web = std::move(webSettings);
  settings.proxies = std::move(proxies);
  if (!readLimits(options, settings, err)) return 2;
  fitConnectionsToDescriptors(settings.limits);
  settings.log = [&err](const std::string& line) { err << line + "\n" << std::flush; };
  if (options.host) settings.host = *options.host;
  if (options.port) {
    const auto port = parsePort(*options.port);
    if (!port) {
      err << "decor-company-server: 端口应为 0 到 65535 的整数：" << *options.port << "\n";
      return 2;
    }
    settings.port = *port;
  }
  const std::filesystem::path data = dataFile(options);
  settings.pricesDir = options.prices ? std::filesystem::path(*options.prices) : data.parent_path() / "prices";
  if (options.locations) {
    const auto text = readFile(*options.locations);
    std::string error;
    const auto table = text ? NumberLocations::parse(*text, error) : std::nullopt;
    if (!table) {
      err << "decor-company-server: 号码归属地表 " << *options.locations << " 无法使用"
          << (text ? "：" + error : std::string()) << "\n";
      return 1;
    }
    settings.locations = *table;
  }

  // A price folder that is there but cannot be read would serve built-in prices to every
  // customer without anyone noticing: refused. One that is not there at all is the usual
  // start with built-in prices, said below.
  std::error_code folderError;
  const bool pricesThere = std::filesystem::exists(settings.pricesDir, folderError);
  if (pricesThere) {
    std::filesystem::directory_iterator listing(settings.pricesDir, folderError);
    if (folderError || ::access(settings.pricesDir.c_str(), R_OK | X_OK) != 0) {
      err << logLine(LogLevel::Error, "无法读取价格文件夹 " + settings.pricesDir.string() + "：" +
                                          (folderError ? folderError.message() : std::string("没有读取权限")))
          << "\n";
      return 1;
    }
  }

  std::string error;
  const auto store = EstimateStore::open(data, EstimateStore::Access::Serve, error);
  if (!store || !store->probeWrite()) {
    err << logLine(LogLevel::Error, store ? "数据库 " + data.string() + " 无法写入：" + store->lastError() : error)
        << "\n";
    return 1;
  }
  if (mail) settings.mailGiveUp = mail->retry.giveUp;

  // A client that hangs up mid-reply must not end the server.
  std::signal(SIGPIPE, SIG_IGN);
  // Both signals are taken by sigwait below; the server's threads inherit the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::optional<DeliveryWorker> delivery;
  if (mail) delivery.emplace(*store, *mail, settings.log);
  EstimateIntake intake(*store, mail, settings.locations, [&delivery] {
    if (delivery) delivery->wake();
  });
  settings.keepEstimate = [&intake](const StoredEstimate& estimate) { return intake.accept(estimate); };

  const std::string host = settings.host;
  const std::filesystem::path pricesDir = settings.pricesDir;
  CompanyServer server(*store, std::move(settings));
  const int port = server.bind();
  if (port < 0) {
    err << logLine(LogLevel::Error, "无法在 " + hostInUrl(host) + (options.port ? ":" + *options.port : ":8080") +
                                        " 上监听（端口可能已被占用）")
        << "\n";
    return 1;
  }
  // The serving thread has no one to throw to: it reports, and the stop signal it sends
  // itself ends the server with a failing exit code.
  std::atomic<bool> servingFailed = false;
  std::thread serving([&server, &servingFailed, &err] {
    try {
      server.serve();
    } catch (const std::exception& e) {
      servingFailed = true;
      err << "decor-company-server: 意外错误，服务停止：" << e.what() << std::endl;
      ::kill(::getpid(), SIGTERM);
    }
  });
  if (delivery) delivery->start();
  std::string missing;
  for (const std::string_view name : {kEstimatePriceFileName, kItemPriceFileName}) {
    if (!std::filesystem::exists(pricesDir / std::string(name), folderError)) {
      missing += (missing.empty() ? "" : "、") + std::string(name);
    }
  }
  writeLog(err, LogLevel::Info,
           "启动：地址 http://" + hostInUrl(host) + ":" + std::to_string(port) + "，数据库 " + data.string() +
               "，价格文件夹 " + pricesDir.string() +
               (missing.empty() ? std::string() : "（没有 " + missing + "，用内置价格）") + "，邮件投递" +
               (delivery ? "开启" : "未开启") + "，信任的代理 " +
               (proxiesWritten.empty() ? std::string("无") : proxiesWritten));
  // One write for both lines, so that whoever waits for the first reads the second with it.
  out << "正在监听 http://" << hostInUrl(host) << ":" << port << "\n"
      << (delivery ? "邮件投递：经 " + mail->account.url + " 从 " + mail->from + " 发出，销售邮箱 " + mail->sales
                   : std::string("邮件投递未开启（没有指定 --smtp）：报价只保存在数据库中"))
      << std::endl;

  int received = 0;
  sigwait(&stopSignals, &received);
  const std::string signalName = received == SIGINT ? "SIGINT" : "SIGTERM";
  writeLog(err, LogLevel::Info, "正在停止（" + signalName + "）：不再接受新连接，答复已收到的请求后退出");
  server.stop();
  serving.join();
  if (delivery) delivery->stop();
  server.flushLog();
  writeLog(err, servingFailed ? LogLevel::Error : LogLevel::Info,
           "已停止（" + signalName + "）");
  return servingFailed ? 1 : 0;
}

int runInboxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wantsHelp(args)) {
    out << kInboxUsage;
    return 0;
  }
  Options options;
  if (!readOptions(args, {"--data", "--csv"}, options, err, kInboxUsage)) return 2;
  const auto store = openForReading(options, err);
  if (!store) return 1;
  const auto estimates = estimatesWithMessages(*store);
  if (!estimates) return unreadable(*store, err);
  const auto inbox = inboxWithDelivery(*estimates);
  out << (options.csv ? inboxCsv(inbox.estimates, &inbox.delivery) : inboxText(inbox.estimates, &inbox.delivery));
  return 0;
}

int runOutboxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wantsHelp(args)) {
    out << kOutboxUsage;
    return 0;
  }
  Options options;
  if (!readOptions(args, {"--data", "--retry"}, options, err, kOutboxUsage)) return 2;
  const auto store = openForReading(options, err);
  if (!store) return 1;
  if (!options.retry) {
    const auto entries = undelivered(*store);
    if (!entries) return unreadable(*store, err);
    out << outboxText(*entries);
    return 0;
  }
  const std::string& id = *options.retry;
  const bool number = !id.empty() && id.size() < 19 && id.find_first_not_of("0123456789") == std::string::npos;
  if (!number || !retryFailed(*store, std::stoll(id), nowMilliseconds())) {
    err << "decor-company-server: 发件箱中没有编号为 " << id << " 的发送失败的邮件\n";
    return 1;
  }
  out << "编号 " << id << " 的邮件已重新排队\n";
  return 0;
}

int runPricesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wantsHelp(args)) {
    out << kPricesUsage;
    return 0;
  }
  Options options;
  if (!readOptions(args, {"--write"}, options, err, kPricesUsage)) return 2;
  if (!options.write) {
    err << kPricesUsage;
    return 2;
  }
  const std::filesystem::path folder = *options.write;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::pair<std::string_view, std::string> files[] = {
      {kEstimatePriceFileName, estimatePriceFile(EstimatePrices::defaults())},
      {kItemPriceFileName, itemPriceFile(ItemPrices::defaults())}};
  for (const auto& [name, text] : files) {
    if (std::filesystem::exists(folder / name)) {
      err << "decor-company-server: " << (folder / name).string() << " 已存在，未覆盖\n";
      return 1;
    }
  }
  for (const auto& [name, text] : files) {
    std::ofstream file(folder / name, std::ios::binary);
    file << text;
    if (!file.flush()) {
      err << "decor-company-server: 无法写入 " << (folder / name).string() << "\n";
      return 1;
    }
    out << "已写出 " << (folder / name).string() << "\n";
  }
  return 0;
}

}  // namespace decor::server
