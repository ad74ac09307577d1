#include "platform/ui/Picture.h"

#include <QFile>

namespace fw {

Graphics::Graphics(QPainter& painter, int width, int height) : painter_(&painter), width_(width), height_(height) {}

Graphics::Graphics(QImage& image)
    : ownPainter_(std::make_unique<QPainter>(&image)), painter_(ownPainter_.get()), width_(image.width()),
      height_(image.height()) {}

void Graphics::FillRect(int x, int y, int width, int height) {
  painter_->fillRect(x, y, width, height, QColor(foreColor_.Red, foreColor_.Green, foreColor_.Blue));
}

void Graphics::DrawPicture(const Picture& picture, int x, int y) { painter_->drawImage(x, y, picture.Composed()); }

Picture::Picture(int width, int height) : image_(width, height, QImage::Format_ARGB32) { image_.fill(Qt::white); }

Picture::Picture(QImage image) : image_(image.convertToFormat(QImage::Format_ARGB32)) {}

std::unique_ptr<Graphics> Picture::Graphics() { return std::make_unique<fw::Graphics>(image_); }

Picture* Picture::Mask(bool create) {
  if (!mask_ && create) {
    mask_ = std::make_unique<Picture>(Width(), Height());
    mask_->image_.fill(Qt::black);
  }
  return mask_.get();
}

QImage Picture::Composed() const {
  if (!mask_) return image_;
  QImage out = image_;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      int hide = x < mask_->Width() && y < mask_->Height() ? qGray(mask_->image_.pixel(x, y)) : 255;
      line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), qAlpha(line[x]) * (255 - hide) / 255);
    }
  }
  return out;
}

std::shared_ptr<Picture> NewPicture(int width, int height, int) { return std::make_shared<Picture>(width, height); }

std::shared_ptr<Picture> GetPicture(int resourceNumber) {
  QImage image(QStringLiteral(":/pictures/%1.png").arg(resourceNumber));
  if (image.isNull()) return nullptr;
  return std::make_shared<Picture>(image);
}

}  // namespace fw
