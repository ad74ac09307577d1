#pragma once
// The program's diagnostics go to one Qt logging category, "postario".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPostario)

namespace fw {

// Logs the exception being handled, saying where it was caught; call it inside a catch block.
// The unwinding of a thread's stack is not logged but passed on.
void LogCaughtException(const char* where);

// Runs f and logs what it throws instead of letting it leave: for the slots that Qt calls,
// through which no exception may pass.
template <class F>
void RunCatching(const char* where, F&& f) {
  try {
    f();
  } catch (...) {
    LogCaughtException(where);
  }
}

}  // namespace fw
