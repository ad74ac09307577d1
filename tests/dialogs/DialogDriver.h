#pragma once
// Drives a dialog (the send settings, the password prompt) while a caller waits in its
// ShowModal: once the dialog shows, waits for it to be the active modal window and then acts on
// it (types, presses a button). A dialog that shows without becoming modal is acted on all the
// same after a short wait, so the test fails on `modal` instead of hanging.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/ui/Window.h"

namespace testsupport {

struct DialogSeen {
  bool acted = false;
  bool modal = false;
};

namespace detail {
template <class Dlg>
void PollDialog(std::function<void(Dlg&)> act, std::shared_ptr<DialogSeen> seen,
                std::shared_ptr<QElapsedTimer> clock, int patienceMs) {
  constexpr int kGiveUpMs = 10000;
  Dlg* dlg = fw::HasImplicit<Dlg>() ? fw::Implicit<Dlg>() : nullptr;
  bool shown = dlg && dlg->IsVisible();
  bool modal = shown && QApplication::activeModalWidget() == dlg->Widget();
  if (modal || (shown && clock->elapsed() > patienceMs)) {
    seen->modal = modal;
    seen->acted = true;
    act(*dlg);
    return;
  }
  if (clock->elapsed() > kGiveUpMs) return;
  QTimer::singleShot(10, [=] { PollDialog(act, seen, clock, patienceMs); });
}
}  // namespace detail

// From the next event-loop turn on, acts on the dialog of class Dlg once it shows.
template <class Dlg>
std::shared_ptr<DialogSeen> WhenShows(std::function<void(Dlg&)> act, int patienceMs = 1500) {
  auto seen = std::make_shared<DialogSeen>();
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QTimer::singleShot(0, [=] { detail::PollDialog(act, seen, clock, patienceMs); });
  return seen;
}

}  // namespace testsupport
