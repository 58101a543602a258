#if defined(__SANITIZE_THREAD__)
// libmicrohttpd (the server) and cpp-httplib (the tests' client) are built without
// instrumentation: they hand work between threads under their own locks, which
// ThreadSanitizer cannot see. Ignore what it reports from inside them; the server's own code
// stays fully checked.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libmicrohttpd.so.12\ncalled_from_lib:libcpp-httplib.so.0.11\n";
}
#endif
