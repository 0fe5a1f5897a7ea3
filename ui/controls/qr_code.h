// A QR code of a text and its picture: black modules on white inside a four-module quiet zone, every
// module a whole number of pixels, so that a phone's camera finds sharp edges.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

inline constexpr int kQrQuietModules = 4;

struct QrMatrix {
  int version = 0;                 // 1..40; 0 when nothing was encoded
  int size = 0;                    // modules a side: 17 + 4 * version
  std::vector<std::uint8_t> dark;  // size * size, row by row; 1 for a dark module
  bool empty() const { return size == 0; }
  bool Dark(int x, int y) const { return dark[static_cast<std::size_t>(y * size + x)] != 0; }
};

// Error correction M (a phone reads it off a glossy screen), 8-bit data, the smallest version that holds
// `text`; empty for an empty text or one too long for any version.
QrMatrix EncodeQr(const QByteArray& text);
// The largest whole number of pixels a module for which the code and its quiet zone fit `side` pixels;
// at least 1.
int QrModulePixels(const QrMatrix& matrix, int side);
// The code with its quiet zone, (size + 8) * pixelsPerModule pixels a side.
QImage QrImage(const QrMatrix& matrix, int pixelsPerModule);

// Shows the QR code of a text, as large as it fits in whole pixels a module; a placeholder text while
// there is none.
class CQrCodeView : public QWidget {
  Q_OBJECT
 public:
  explicit CQrCodeView(QWidget* parent = nullptr);

  void SetText(const QString& text);
  void SetPlaceholder(const QString& text);
  const QrMatrix& matrix() const { return matrix_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QString placeholder_;
  QrMatrix matrix_;
};
