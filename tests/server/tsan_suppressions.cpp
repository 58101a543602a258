#if defined(__SANITIZE_THREAD__)
// cpp-httplib is a library built without instrumentation: its thread pool hands connections
// over under its own locks, which ThreadSanitizer cannot see. Ignore what it reports from
// inside that library; the server's own code stays fully checked.
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libcpp-httplib.so.0.11\n"; }
#endif
