#include "server/estimate_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/local_time.h"

namespace decor::server {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS quotes ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " received TEXT NOT NULL, email TEXT NOT NULL, phone TEXT NOT NULL, result TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS counters (name TEXT PRIMARY KEY, value INTEGER NOT NULL);";

constexpr int kBusyTimeoutMs = 5000;

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  void bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  int step() { return sqlite3_step(stmt_); }
  std::string text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }
  std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

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

std::string localTimeNow() { return localTimeText("%Y-%m-%d %H:%M:%S"); }

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

  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (access == Access::Serve ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    error = "无法打开数据库 " + file.string() + "：" + (db ? sqlite3_errmsg(db) : "内存不足");
    sqlite3_close(db);
    if (lockFd >= 0) ::close(lockFd);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  std::unique_ptr<EstimateStore> store(new EstimateStore(db, lockFd));
  // Both settings are per connection: a reader sets them too, so that it never checkpoints
  // with weaker guarantees than the server.
  if (!store->execute("PRAGMA journal_mode=WAL;") || !store->execute("PRAGMA synchronous=FULL;") ||
      !store->execute(kSchema)) {
    error = "数据库 " + file.string() + " 无法使用：" + sqlite3_errmsg(db);
    return nullptr;
  }
  return store;
}

EstimateStore::~EstimateStore() {
  sqlite3_close(db_);
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool EstimateStore::execute(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool EstimateStore::addEstimate(const StoredEstimate& estimate) {
  return transaction([&estimate](sqlite3* db) { return insertEstimate(db, estimate) >= 0; });
}

bool EstimateStore::transaction(const std::function<bool(sqlite3*)>& work, bool readOnly) {
  std::lock_guard lock(mutex_);
  if (!execute(readOnly ? "BEGIN;" : "BEGIN IMMEDIATE;")) return false;
  if (work(db_) && execute("COMMIT;")) return true;
  execute("ROLLBACK;");
  return false;
}

std::int64_t EstimateStore::insertEstimate(sqlite3* db, const StoredEstimate& estimate) {
  Statement insert(db, "INSERT INTO quotes (received, email, phone, result) VALUES (?1, ?2, ?3, ?4);");
  if (!insert.ok()) return -1;
  insert.bind(1, estimate.received);
  insert.bind(2, estimate.email);
  insert.bind(3, estimate.phone);
  insert.bind(4, estimate.result);
  return insert.step() == SQLITE_DONE ? sqlite3_last_insert_rowid(db) : -1;
}

std::vector<StoredEstimate> EstimateStore::estimatesNewestFirst() {
  std::lock_guard lock(mutex_);
  std::vector<StoredEstimate> estimates;
  Statement select(db_, "SELECT received, email, phone, result FROM quotes ORDER BY id DESC;");
  if (!select.ok()) return estimates;
  while (select.step() == SQLITE_ROW) {
    estimates.push_back({select.text(0), select.text(1), select.text(2), select.text(3)});
  }
  return estimates;
}

std::int64_t EstimateStore::countVisit() {
  std::lock_guard lock(mutex_);
  Statement upsert(db_,
                   "INSERT INTO counters (name, value) VALUES ('visits', 1)"
                   " ON CONFLICT(name) DO UPDATE SET value = value + 1 RETURNING value;");
  if (!upsert.ok() || upsert.step() != SQLITE_ROW) return -1;
  const std::int64_t count = upsert.integer(0);
  return upsert.step() == SQLITE_DONE ? count : -1;
}

std::int64_t EstimateStore::visitCount() {
  std::lock_guard lock(mutex_);
  Statement select(db_, "SELECT value FROM counters WHERE name = 'visits';");
  if (!select.ok()) return -1;
  const int step = select.step();
  if (step == SQLITE_ROW) return select.integer(0);
  return step == SQLITE_DONE ? 0 : -1;
}

}  // namespace decor::server
