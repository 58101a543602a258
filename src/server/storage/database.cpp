#include "server/storage/database.h"

#include <sqlite3.h>

namespace decor::server {

std::unique_ptr<Database> Database::open(const std::filesystem::path& file, bool create, std::string& error) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "内存不足";
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<Database>(new Database(db));
}

Database::~Database() { sqlite3_close(db_); }

void Database::setBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

bool Database::execute(std::string_view sql) {
  return sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::changes() const { return sqlite3_changes(db_); }

std::string Database::errorMessage() const { return sqlite3_errmsg(db_); }

bool Database::defineFunction(const char* name, int argCount, TextFunction function) {
  auto call = [](sqlite3_context* context, int argc, sqlite3_value** argv) {
    std::vector<std::string_view> args;
    for (int i = 0; i < argc; ++i) {
      const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
      args.emplace_back(bytes ? bytes : "", bytes ? static_cast<std::size_t>(sqlite3_value_bytes(argv[i])) : 0);
    }
    sqlite3_result_int64(context, (*static_cast<TextFunction*>(sqlite3_user_data(context)))(args));
  };
  // SQLite owns the holder from here, and destroys it also when the definition fails.
  return sqlite3_create_function_v2(db_, name, argCount, SQLITE_UTF8 | SQLITE_DETERMINISTIC, new TextFunction(function),
                                    call, nullptr, nullptr,
                                    [](void* holder) { delete static_cast<TextFunction*>(holder); }) == SQLITE_OK;
}

Statement::Statement(Database& db, std::string_view sql) {
  sqlite3_prepare_v2(db.db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement::Step Statement::step() {
  if (stmt_ == nullptr) return Step::Error;
  const int result = sqlite3_step(stmt_);
  if (result == SQLITE_ROW) return Step::Row;
  return result == SQLITE_DONE ? Step::Done : Step::Error;
}

std::string Statement::text(int column) const {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

Transaction::Transaction(Database& db, Kind kind)
    : db_(db), open_(db.execute(kind == Kind::Write ? "BEGIN IMMEDIATE;" : "BEGIN;")) {}

Transaction::~Transaction() {
  if (open_) db_.execute("ROLLBACK;");
}

bool Transaction::commit() {
  if (!open_ || !db_.execute("COMMIT;")) return false;
  open_ = false;
  return true;
}

}  // namespace decor::server
