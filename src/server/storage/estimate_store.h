#pragma once
// The company's database: every estimate a customer sent, and the visit counter. SQLite in WAL
// mode with synchronous=FULL, so that an estimate acknowledged to its sender survives a crash of
// the server or the machine.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "server/storage/database.h"

namespace decor::server {

struct StoredEstimate {
  std::string received;  // local time, "YYYY-MM-DD HH:MM:SS"
  std::string email;
  std::string phone;
  std::string result;

  bool operator==(const StoredEstimate&) const = default;
};

// A key for finding an estimate with the same e-mail, phone and text by index. Equal estimates
// have equal keys; equal keys are compared text by text, as different estimates may share one.
std::int64_t estimateFingerprint(std::string_view email, std::string_view phone, std::string_view result);

class EstimateStore {
 public:
  enum class Access {
    Serve,  // creates the file on first use; refused while another server holds it
    Read,   // for listing while a server runs; the file must exist
  };

  // Nothing, with a message for staff, when the file cannot be opened or is in use. A file
  // of an earlier layout is brought up to date first, also by a reader.
  static std::unique_ptr<EstimateStore> open(const std::filesystem::path& file, Access access, std::string& error);
  ~EstimateStore();
  EstimateStore(const EstimateStore&) = delete;
  EstimateStore& operator=(const EstimateStore&) = delete;

  // Committed to disk when it returns true. Any thread.
  bool addEstimate(const StoredEstimate& estimate);
  std::vector<StoredEstimate> estimatesNewestFirst();

  // Runs `work` on the shared connection in one transaction (a write transaction unless
  // `readOnly`): committed when it returns true, rolled back otherwise. The mail outbox keeps
  // its tables in the same file so that an estimate and its messages are written together.
  bool transaction(const std::function<bool(Database&)>& work, bool readOnly = false);
  // A small write committed to disk: whether the store can keep an estimate now.
  bool probeWrite();
  // SQLite's words for the last transaction that failed, for the log.
  std::string lastError();
  // Inside a transaction: writes the estimate; its id, or -1.
  static std::int64_t insertEstimate(Database& db, const StoredEstimate& estimate);

  // Counts one visit and returns the new count; -1 when the database fails. Any thread.
  std::int64_t countVisit();
  std::int64_t visitCount();

 private:
  EstimateStore(std::unique_ptr<Database> db, int lockFd) : db_(std::move(db)), lockFd_(lockFd) {}

  std::mutex mutex_;  // one statement sequence at a time on the shared connection
  std::unique_ptr<Database> db_;
  std::string lastError_;
  int lockFd_;  // holds the server's exclusive claim on the file; -1 for readers
};

}  // namespace decor::server
