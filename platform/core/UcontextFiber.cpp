// Sanitizer builds switch fibers with ucontext, which AddressSanitizer can follow. Debian's
// Boost.Context library is built for the other switching and lacks the one definition the
// ucontext fiber header needs: the pointer to the running context of each system thread.
#if !defined(BOOST_USE_UCONTEXT)
#error "compile this file only with BOOST_USE_UCONTEXT"
#endif

#include <boost/context/fiber.hpp>

namespace boost::context::detail {

fiber_activation_record*& fiber_activation_record::current() noexcept {
  // The thread's own context, made on first use and never freed: a fiber may still be
  // unwound during static destruction, after thread-local objects are gone.
  thread_local fiber_activation_record* running = new fiber_activation_record();
  return running;
}

}  // namespace boost::context::detail
