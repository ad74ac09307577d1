#pragma once
// Off-screen pictures with an optional mask, and a drawing surface (Graphics) for pictures
// and for list cells.
#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/ui/Color.h"

namespace fw {

class Picture;

class Graphics {
 public:
  // Draws on painter, with (0, 0) at origin and the given size.
  Graphics(QPainter& painter, int width, int height);
  explicit Graphics(QImage& image);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color c) { foreColor_ = c; }
  void FillRect(int x, int y, int width, int height);
  // At the picture's own size, unscaled; whatever passes the edges is cut.
  void DrawPicture(const Picture& picture, int x, int y);

 private:
  std::unique_ptr<QPainter> ownPainter_;
  QPainter* painter_;
  int width_, height_;
  Color foreColor_;
};

class Picture {
 public:
  Picture(int width, int height);
  explicit Picture(QImage image);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // A drawing surface for the picture; it draws until the returned object goes.
  std::unique_ptr<fw::Graphics> Graphics();
  // The mask: black shows the pixel, white hides it. Created (all black) when create is true
  // and there is none; nullptr otherwise.
  Picture* Mask(bool create);
  // The picture with its mask applied, as shown on screen.
  QImage Composed() const;
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  std::unique_ptr<Picture> mask_;
};

// The depth is accepted for the record; pictures are always 32-bit.
std::shared_ptr<Picture> NewPicture(int width, int height, int depth);
// The picture resource with this number, or nullptr.
std::shared_ptr<Picture> GetPicture(int resourceNumber);

}  // namespace fw
