#include "mainwindow/Pictures.h"

#include <QtGlobal>

// The resources live in a static library: register them before the first lookup.
static void InitPictureResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(resources);
    return true;
  }();
  (void)done;
}

namespace {

struct KeptPicture {
  int number;
  std::shared_ptr<fw::Picture> picture;

  // A load that yields nothing keeps nothing, so the next call tries again.
  std::shared_ptr<fw::Picture> Get() {
    if (!picture) {
      InitPictureResources();
      picture = fw::GetPicture(number);
    }
    return picture;
  }
};

KeptPicture g_button1{168, nullptr};
KeptPicture g_button2{169, nullptr};
KeptPicture g_button3{170, nullptr};
KeptPicture g_button6{171, nullptr};
KeptPicture g_anyMask{172, nullptr};

}  // namespace

std::shared_ptr<fw::Picture> button1() { return g_button1.Get(); }
std::shared_ptr<fw::Picture> button2() { return g_button2.Get(); }
std::shared_ptr<fw::Picture> button3() { return g_button3.Get(); }
std::shared_ptr<fw::Picture> button6() { return g_button6.Get(); }
std::shared_ptr<fw::Picture> anyMask() { return g_anyMask.Get(); }

void ReleasePictures() {
  for (KeptPicture* kept : {&g_button1, &g_button2, &g_button3, &g_button6, &g_anyMask}) kept->picture.reset();
}
