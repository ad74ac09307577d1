#pragma once
// The application's pictures, each loaded once from its picture resource and kept until
// ReleasePictures: the four toolbar button pictures and the mask they share.
#include <memory>

#include "platform/ui/Picture.h"

std::shared_ptr<fw::Picture> button1();  // send (168)
std::shared_ptr<fw::Picture> button2();  // tick all (169)
std::shared_ptr<fw::Picture> button3();  // clear all (170)
std::shared_ptr<fw::Picture> button6();  // send settings (171)
std::shared_ptr<fw::Picture> anyMask();  // the icons' common mask (172)

// Lets go of every kept picture (at program end).
void ReleasePictures();
