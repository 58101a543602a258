#pragma once
// The one way the server speaks to SQLite: a connection, its prepared statements and its
// transactions, each released by its own destructor, so that no early return leaks a
// statement or leaves a transaction open.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace decor::server {

class Database {
 public:
  // Nothing, with SQLite's reason in `error`, when the file cannot be opened. Without
  // `create` the file must exist. One thread at a time per connection.
  static std::unique_ptr<Database> open(const std::filesystem::path& file, bool create, std::string& error);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // How long a statement waits for another connection's lock before it fails.
  void setBusyTimeout(int milliseconds);
  // Runs statements without parameters.
  bool execute(std::string_view sql);
  std::int64_t lastInsertId() const;
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int changes() const;
  std::string errorMessage() const;

  // A deterministic SQL function on this connection, of `argCount` texts (NULL reads as
  // empty) to an integer, so that a schema step computes what the program computes.
  using TextFunction = std::int64_t (*)(const std::vector<std::string_view>& args);
  bool defineFunction(const char* name, int argCount, TextFunction function);

 private:
  friend class Statement;
  explicit Database(sqlite3* db) : db_(db) {}
  sqlite3* db_;
};

class Statement {
 public:
  enum class Step { Row, Done, Error };

  // A statement that failed to prepare binds nothing and steps to Error.
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, std::int64_t value);
  Step step();
  bool row() { return step() == Step::Row; }
  // Steps once; true when the statement has run to its end.
  bool done() { return step() == Step::Done; }
  std::string text(int column) const;
  std::int64_t integer(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN on construction; rolled back on destruction unless commit() succeeded.
class Transaction {
 public:
  enum class Kind {
    Read,   // BEGIN: a consistent snapshot
    Write,  // BEGIN IMMEDIATE: the write lock now, not at the first write
  };
  Transaction(Database& db, Kind kind);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool began() const { return open_; }
  bool commit();

 private:
  Database& db_;
  bool open_;
};

}  // namespace decor::server
