#include "platform/core/Log.h"

#include <boost/context/fiber.hpp>
#include <exception>

Q_LOGGING_CATEGORY(lcPostario, "postario")

namespace fw {

void LogCaughtException(const char* where) {
  try {
    throw;
  } catch (const boost::context::detail::forced_unwind&) {
    throw;  // a thread's stack is being unwound: it must pass
  } catch (const std::exception& e) {
    qCCritical(lcPostario, "Unhandled exception in %s: %s", where, e.what());
  } catch (...) {
    qCCritical(lcPostario, "Unhandled exception in %s", where);
  }
}

}  // namespace fw
