#pragma once
// Whether code that touches widgets runs on the GUI thread. ThreadSanitizer cannot see inside
// Qt, so a widget touched from a worker would pass every sanitizer run; this check is what
// catches it. It is on in debug builds and in sanitizer builds (DECOR_GUI_THREAD_CHECKS),
// and costs nothing in a release build.

namespace decor {

// The thread of the QCoreApplication; false before one exists.
bool onGuiThread();

// What a failed check does: stops the program with the place named (qFatal). Tests put a
// recorder in its place and get the previous handler back to restore it.
using GuiThreadViolationHandler = void (*)(const char* where);
GuiThreadViolationHandler setGuiThreadViolationHandler(GuiThreadViolationHandler handler);

// Runs the check whatever the build; DECOR_EXPECT_GUI_THREAD is the form to use in code.
void checkGuiThread(const char* where);

}  // namespace decor

#if !defined(NDEBUG) || defined(DECOR_GUI_THREAD_CHECKS)
#define DECOR_EXPECT_GUI_THREAD(where) ::decor::checkGuiThread(where)
#else
#define DECOR_EXPECT_GUI_THREAD(where) static_cast<void>(0)
#endif
