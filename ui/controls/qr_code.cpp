// QR codes through libqrencode, painted pixel-exact.
#include "controls/qr_code.h"

#include <qrencode.h>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

QrMatrix EncodeQr(const QByteArray& text) {
  if (text.isEmpty()) return {};
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
  if (!code) return {};
  QrMatrix matrix;
  matrix.version = code->version;
  matrix.size = code->width;
  matrix.dark.resize(static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width));
  // Bit 0 of each byte is the module's colour; the other bits tell how libqrencode placed it.
  for (std::size_t i = 0; i < matrix.dark.size(); ++i) matrix.dark[i] = code->data[i] & 1;
  return matrix;
}

int QrModulePixels(const QrMatrix& matrix, int side) {
  const int modules = matrix.size + 2 * kQrQuietModules;
  return std::max(1, side / modules);
}

QImage QrImage(const QrMatrix& matrix, int pixelsPerModule) {
  const int px = std::max(1, pixelsPerModule);
  const int side = (matrix.size + 2 * kQrQuietModules) * px;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (int y = 0; y < matrix.size; ++y) {
    for (int x = 0; x < matrix.size; ++x) {
      if (matrix.Dark(x, y)) painter.drawRect((x + kQrQuietModules) * px, (y + kQrQuietModules) * px, px, px);
    }
  }
  return image;
}

CQrCodeView::CQrCodeView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CQrCodeView::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  matrix_ = EncodeQr(text.toUtf8());
  setAccessibleDescription(text);
  update();
}

void CQrCodeView::SetPlaceholder(const QString& text) {
  placeholder_ = text;
  update();
}

QSize CQrCodeView::sizeHint() const {
  return {216, 216};
}

void CQrCodeView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int side = std::min(width(), height());
  if (matrix_.empty()) {
    const QRect box((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(box.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, placeholder_);
    return;
  }
  // Whole device pixels a module, placed on a device pixel: a scaled or shifted code blurs its edges.
  const qreal ratio = devicePixelRatioF();
  const int deviceSide = static_cast<int>(std::floor(side * ratio));
  QImage image = QrImage(matrix_, QrModulePixels(matrix_, deviceSide));
  const int left = static_cast<int>(std::floor((width() * ratio - image.width()) / 2));
  const int top = static_cast<int>(std::floor((height() * ratio - image.height()) / 2));
  image.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(left / ratio, top / ratio), image);
}
