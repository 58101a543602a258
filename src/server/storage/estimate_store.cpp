#include "server/storage/estimate_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "server/storage/schema.h"
#include "text/fnv_hash.h"

namespace decor::server {
namespace {

constexpr int kBusyTimeoutMs = 5000;

// A second server on the same file would interleave nothing harmful in SQLite, but two
// servers answering for one company are a mistake staff should hear about. flock() locks do
// not interfere with SQLite's own fcntl() locks, and the kernel drops them when the
// process dies, even by kill -9.
int claimForServer(const std::filesystem::path& file, std::string& error) {
  // Estimates hold customers' addresses: owner-only whatever the umask, also for a file an older
  // server created. SQLite gives its -wal and -shm files the mode of the database file.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = "无法打开数据库文件 " + file.string() + "：" + std::strerror(errno);
    return -1;
  }
  ::fchmod(fd, 0600);
  for (const char* suffix : {"-wal", "-shm"}) ::chmod((file.string() + suffix).c_str(), 0600);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    error = "数据库文件 " + file.string() + " 正被另一个 decor-company-server 使用，不能同时启动两个服务器";
    return -1;
  }
  return fd;
}

}  // namespace

std::int64_t estimateFingerprint(std::string_view email, std::string_view phone, std::string_view result) {
  // Each field after its length, so that no shift of text between fields gives the same input.
  std::uint64_t hash = kFnvOffset;
  for (const std::string_view field : {email, phone, result}) {
    hash = fnv1a64(std::to_string(field.size()) + ":", hash);
    hash = fnv1a64(field, hash);
  }
  return static_cast<std::int64_t>(hash);  // SQLite's integers are signed: the same 64 bits
}

std::unique_ptr<EstimateStore> EstimateStore::open(const std::filesystem::path& file, Access access, std::string& error) {
  int lockFd = -1;
  if (access == Access::Serve) {
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    lockFd = claimForServer(file, error);
    if (lockFd < 0) return nullptr;
  } else if (!std::filesystem::exists(file)) {
    error = "数据库文件 " + file.string() + " 不存在";
    return nullptr;
  }

  std::string why;
  auto db = Database::open(file, access == Access::Serve, why);
  if (!db) {
    error = "无法打开数据库 " + file.string() + "：" + why;
    if (lockFd >= 0) ::close(lockFd);
    return nullptr;
  }
  db->setBusyTimeout(kBusyTimeoutMs);
  std::unique_ptr<EstimateStore> store(new EstimateStore(std::move(db), lockFd));
  Database& opened = *store->db_;
  // Both settings are per connection: a reader sets them too, so that it never checkpoints
  // with weaker guarantees than the server.
  if (!opened.execute("PRAGMA journal_mode=WAL;") || !opened.execute("PRAGMA synchronous=FULL;")) {
    error = "数据库 " + file.string() + " 无法使用：" + opened.errorMessage();
    return nullptr;
  }
  // The schema step that keys the estimates already there computes the key as the intake does.
  const bool keyed = opened.defineFunction("estimate_fingerprint", 3, [](const std::vector<std::string_view>& args) {
    return estimateFingerprint(args[0], args[1], args[2]);
  });
  if (!keyed || !migrateSchema(opened, why)) {
    error = "数据库 " + file.string() + " 无法使用：" + (keyed ? why : opened.errorMessage());
    return nullptr;
  }
  return store;
}

EstimateStore::~EstimateStore() {
  db_.reset();
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool EstimateStore::addEstimate(const StoredEstimate& estimate) {
  return transaction([&estimate](Database& db) { return insertEstimate(db, estimate) >= 0; });
}

bool EstimateStore::transaction(const std::function<bool(Database&)>& work, bool readOnly) {
  std::lock_guard lock(mutex_);
  Transaction transaction(*db_, readOnly ? Transaction::Kind::Read : Transaction::Kind::Write);
  if (transaction.began() && work(*db_) && transaction.commit()) return true;
  // Taken before the rollback, which would put its own result in its place.
  lastError_ = db_->errorMessage();
  return false;
}

bool EstimateStore::probeWrite() {
  return transaction([](Database& db) {
    return db.execute("INSERT INTO counters (name, value) VALUES ('health', 0)"
                      " ON CONFLICT(name) DO UPDATE SET value = value + 1;");
  });
}

std::string EstimateStore::lastError() {
  std::lock_guard lock(mutex_);
  return lastError_;
}

std::int64_t EstimateStore::insertEstimate(Database& db, const StoredEstimate& estimate) {
  Statement insert(db, "INSERT INTO estimates (received, email, phone, result) VALUES (?1, ?2, ?3, ?4);");
  insert.bind(1, estimate.received).bind(2, estimate.email).bind(3, estimate.phone).bind(4, estimate.result);
  return insert.done() ? db.lastInsertId() : -1;
}

std::vector<StoredEstimate> EstimateStore::estimatesNewestFirst() {
  std::lock_guard lock(mutex_);
  std::vector<StoredEstimate> estimates;
  Statement select(*db_, "SELECT received, email, phone, result FROM estimates ORDER BY id DESC;");
  while (select.row()) estimates.push_back({select.text(0), select.text(1), select.text(2), select.text(3)});
  return estimates;
}

std::int64_t EstimateStore::countVisit() {
  std::lock_guard lock(mutex_);
  Statement upsert(*db_,
                   "INSERT INTO counters (name, value) VALUES ('visits', 1)"
                   " ON CONFLICT(name) DO UPDATE SET value = value + 1 RETURNING value;");
  if (!upsert.row()) return -1;
  const std::int64_t count = upsert.integer(0);
  return upsert.done() ? count : -1;
}

std::int64_t EstimateStore::visitCount() {
  std::lock_guard lock(mutex_);
  Statement select(*db_, "SELECT value FROM counters WHERE name = 'visits';");
  switch (select.step()) {
    case Statement::Step::Row: return select.integer(0);
    case Statement::Step::Done: return 0;
    case Statement::Step::Error: break;
  }
  return -1;
}

}  // namespace decor::server
