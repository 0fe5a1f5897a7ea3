// Painting of the EQ graph: every position comes from vireo::dsp's graph geometry.
#include "controls/eq_panel_painter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <span>

#include "dsp/band_response.h"
#include "dsp/eq_graph_geometry.h"
#include "dsp/filter_type.h"
#include "look/dialog_look.h"

namespace {

using namespace vireo::dsp;

constexpr std::array<QRgb, 13> kBandColours = {0xFA64B4, 0xFF50FF, 0x5050FF, 0x50FF64, 0xFFFF64,
                                               0xFF6464, 0xFFB414, 0xFF64B4, 0xB464FF, 0x8CB4FF,
                                               0x14B4FF, 0x50FFFF, 0x28FFA0};

const QColor kBackground(20, 20, 20);
const QColor kGridPen(64, 64, 64);
const QColor kGridLabel(128, 128, 128);
const QColor kTitle(255, 255, 0);
const QColor kTotalCurve(0, 200, 255);
const QColor kMeasurement(150, 150, 150);
const QColor kTarget(235, 235, 235);
const QColor kReadoutLabel(180, 180, 180);
const QColor kReadoutValue(16, 255, 16);
const QColor kStatusText(0, 255, 0);

// Arial or a face with its metrics; a wider fallback is taken a pixel smaller, so the readout's rows, laid
// out for Arial's widths, do not run into each other.
QFont SansFace(int pixelSize) {
  const QStringList arialLike = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Arimo")};
  QFont font;
  font.setFamilies(arialLike + QStringList{QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixelSize);
  if (!arialLike.contains(QFontInfo(font).family(), Qt::CaseInsensitive)) font.setPixelSize(pixelSize - 1);
  return font;
}

// The faces at their classic sizes: 8.4 pt and 8 pt are 11 px, 9 pt is 12 px at 96 dots per inch.
struct Fonts {
  QFont title = SongTiFont(13, 400);
  QFont small = SansFace(11);
  QFont status = SongTiFont(12, 400);
  QFont bypass = HeiTiFont(72, 400);
};

QPointF ToQt(const PointF& p) {
  return {p.x, p.y};
}

QRectF PlotRect(const PlotArea& plot) {
  return {plot.left, plot.top, plot.width(), plot.height()};
}

// Long smooth outlines are drawn a few Bezier segments at a time: Qt's antialiased rasteriser slows down
// steeply with the length of one outline (a 512-point curve costs about five times its pieces).
constexpr std::size_t kSegmentsPerPiece = 16;

// Segment k of a CardinalBezier list runs from b[3k] through b[3k + 1] and b[3k + 2] to b[3k + 3].
std::size_t SegmentCount(const std::vector<PointF>& b) {
  return b.size() < 4 ? 0 : (b.size() - 1) / 3;
}

void AddSegments(QPainterPath& path, const std::vector<PointF>& b, std::size_t first, std::size_t end) {
  for (std::size_t k = first; k < end; ++k) {
    path.cubicTo(ToQt(b[3 * k + 1]), ToQt(b[3 * k + 2]), ToQt(b[3 * k + 3]));
  }
}

// The area: straight from the start point to the response, smooth along it, straight to the end point and
// back. A spline through the end points too would swing its closing edge up into the plot when the
// response plunges far below it, as a low-pass does. Pieces meet on vertical edges down to the closing
// edge; where two pieces share a pixel column its faint fill differs by at most one colour level.
void FillArea(QPainter& p, const std::vector<PointF>& outline, const QColor& colour) {
  if (outline.size() < 3) return;
  const std::vector<PointF> b =
      CardinalBezier(std::span<const PointF>(outline).subspan(1, outline.size() - 2), 0.5);
  const std::size_t n = SegmentCount(b);
  const double base = outline.front().y;
  for (std::size_t first = 0; first < n; first += kSegmentsPerPiece) {
    const std::size_t end = std::min(n, first + kSegmentsPerPiece);
    QPainterPath piece(first == 0 ? ToQt(outline.front()) : QPointF(b[3 * first].x, base));
    piece.lineTo(ToQt(b[3 * first]));
    AddSegments(piece, b, first, end);
    piece.lineTo(end == n ? ToQt(outline.back()) : QPointF(b[3 * end].x, base));
    piece.closeSubpath();
    p.fillPath(piece, colour);
  }
}

// Text whose box has its top-left corner at (x, top).
void TextAt(QPainter& p, double x, double top, const QString& text) {
  p.drawText(QPointF(x, top + QFontMetricsF(p.font()).ascent()), text);
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

// Grid lines are filled rows and columns of whole pixels: the same pixels as aliased one-pixel lines, at a
// fraction of their cost on a large graph.
void PaintGrid(QPainter& p, const PlotArea& plot, const Fonts& fonts, const QString& title) {
  p.setFont(fonts.small);
  const QFontMetricsF fm(fonts.small);
  const int left = static_cast<int>(plot.left);
  const int right = static_cast<int>(plot.right);
  const int top = static_cast<int>(plot.top);
  const int bottom = static_cast<int>(plot.bottom);
  p.setPen(kGridLabel);
  for (const GridLine& line : LevelGridLines(plot)) {
    const int y = qRound(line.pos);
    p.fillRect(QRect(left, y, right - left + 1, 1), kGridPen);
    const QString label = QString::fromStdString(line.label);
    TextAt(p, plot.left - fm.horizontalAdvance(label) - 3, y - fm.height() / 2, label);
  }
  for (const GridLine& line : FrequencyGridLines(plot)) {
    const int x = static_cast<int>(line.pos);
    p.fillRect(QRect(x, top + 1, 1, bottom - top), kGridPen);
    if (line.label.empty()) continue;
    const QString label = QString::fromStdString(line.label);
    TextAt(p, line.pos - fm.horizontalAdvance(label) / 2, plot.bottom + 4, label);
  }
  p.setFont(fonts.title);
  p.setPen(kTitle);
  const QFontMetricsF tm(fonts.title);
  TextAt(p, plot.right - tm.horizontalAdvance(title) - 2, plot.top - tm.height() - 1, title);
}

void PaintSelectedArea(QPainter& p, const EqBandSet& bands, int slot) {
  const int type = bands.band(slot).type;
  const bool closesBelow = IsLowPassType(type) || IsHighPassType(type);
  const ResponseArray values = bands.FillResponse(slot);
  p.save();
  p.setClipRect(PlotRect(bands.plot()));
  p.setRenderHint(QPainter::Antialiasing, true);
  FillArea(p, BandFillOutline(bands.plot(), values, closesBelow), WithAlpha(EqBandColour(slot), 32));
  p.restore();
}

// Pieces of the curve overlap only under their round ends, where the opaque pen covers its own pixels.
// Only the grid points first..last are drawn (a measurement covers part of the axis).
void PaintCurve(QPainter& p, const EqBandSet& bands, const ResponseArray& values, const QPen& pen, int first = 0,
                int last = kGridPoints - 1) {
  first = std::max(first, 0);
  last = std::min(last, kGridPoints - 1);
  if (last - first < 1) return;
  p.save();
  p.setClipRect(PlotRect(bands.plot()));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(pen);
  const std::vector<PointF> all = TotalCurvePoints(bands.plot(), values);
  const std::span<const PointF> shown(all.data() + first, static_cast<std::size_t>(last - first + 1));
  const std::vector<PointF> b = CardinalBezier(shown, 0.1);
  const std::size_t n = SegmentCount(b);
  for (std::size_t first = 0; first < n; first += kSegmentsPerPiece) {
    QPainterPath piece(ToQt(b[3 * first]));
    AddSegments(piece, b, first, std::min(n, first + kSegmentsPerPiece));
    p.drawPath(piece);
  }
  p.restore();
}

void PaintTotalCurve(QPainter& p, const EqBandSet& bands, bool measured) {
  // Under a measurement the prediction is the curve that matters; the bands' own sum steps back.
  const QColor colour = measured ? WithAlpha(kTotalCurve, 110) : kTotalCurve;
  PaintCurve(p, bands, bands.TotalResponse(),
             QPen(colour, measured ? 1.5 : 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void PaintOverlay(QPainter& p, const EqBandSet& bands, const CEqPanel::Overlay& overlay) {
  if (overlay.hasTarget) {
    QPen dashed(kTarget, 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dashed.setDashPattern({6.0, 4.0});
    PaintCurve(p, bands, overlay.target, dashed, overlay.targetFirst, overlay.targetLast);
  }
  if (!overlay.hasMeasurement) return;
  PaintCurve(p, bands, overlay.measurement, QPen(kMeasurement, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
             overlay.first, overlay.last);
  PaintCurve(p, bands, CEqPanel::PredictionOf(bands, overlay), QPen(kTotalCurve, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
             overlay.first, overlay.last);
}

QPen DashedPen(const QColor& colour) {
  QPen pen(colour, 1.5);
  pen.setDashPattern({3.0, 1.0});
  return pen;
}

void PaintMarker(QPainter& p, const EqBandSet& bands, int slot, bool selected, const Fonts& fonts) {
  const EqBand& band = bands.band(slot);
  const PlotArea& plot = bands.plot();
  const QPointF c(plot.left + band.markerX, plot.top + band.markerY);
  const QColor colour = EqBandColour(slot);
  const QColor fill = WithAlpha(colour, selected ? 80 : 37);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (band.type == ToCode(FilterType::Peaking)) {
    const QRectF ring(c.x() - 9, c.y() - 9, 18, 18);
    p.setPen(QPen(WithAlpha(colour, 127), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 15 * 16, 150 * 16);
    p.drawArc(ring, 195 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(c, 7.0, 7.0);
  } else {
    p.setPen(DashedPen(WithAlpha(colour, 127)));
    p.setBrush(fill);
    p.drawRect(QRectF(c.x() - 7, c.y() - 7, 14, 14));
    if (selected) {
      p.setPen(DashedPen(QColor(255, 0, 0)));
      p.drawLine(QPointF(c.x(), plot.top), QPointF(c.x(), plot.bottom));
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(colour);
  p.setFont(fonts.small);
  p.drawText(QRectF(c.x() - 20, c.y() - 10, 40, 20), Qt::AlignCenter, QString::number(slot + 1));
}

void PaintReadout(QPainter& p, const EqBandSet& bands, int slot, const Fonts& fonts) {
  const EqBand& band = bands.band(slot);
  const std::array<QString, 3> labels = {QStringLiteral("F:"), QStringLiteral("G:"), QStringLiteral("Q:")};
  const std::array<QString, 3> values = {QString::fromStdString(FormatHz(band.frequency)),
                                         QString::fromStdString(FormatDb(band.gain)),
                                         QString::fromStdString(FormatQ(band.q))};
  const PointF marker{bands.plot().left + band.markerX, bands.plot().top + band.markerY};
  const std::array<int, 3> lengths = {static_cast<int>(values[0].size()), static_cast<int>(values[1].size()),
                                      static_cast<int>(values[2].size())};
  const auto rows = ReadoutLayout(marker, slot + 1, band.gain, lengths, bands.plot());
  p.setFont(fonts.small);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    p.setPen(kReadoutLabel);
    TextAt(p, rows[r].labelX, rows[r].y, labels[r]);
    p.setPen(kReadoutValue);
    TextAt(p, rows[r].valueX, rows[r].y, values[r]);
  }
}

QColor ToneColour(double gain) {
  switch (ToneOfGain(gain)) {
    case GainTone::calm:
      return kStatusText;
    case GainTone::raised:
      return QColor(255, 255, 0);
    default:
      return QColor(255, 0, 0);
  }
}

void PaintStatusLine(QPainter& p, const EqBand& band, int slot, int language, const Fonts& fonts) {
  const char* format = language == 1 ? "Index=%d     Frequency=%.0fHz    Q=%.2f     Gain="
                                     : "EQ号=%d    频率=%.0fHz    Q值=%.2f     增益=";
  const QString head =
      QString::asprintf(format, slot + 1, WholeHertz(band.frequency), static_cast<double>(band.q));
  const QString gain = QString::fromStdString(FormatDb(band.gain)) + QLatin1Char(' ');
  p.setFont(fonts.status);
  p.setPen(kStatusText);
  TextAt(p, kPlotLeft, 3, head);
  p.setPen(ToneColour(band.gain));
  TextAt(p, kPlotLeft + QFontMetricsF(fonts.status).horizontalAdvance(head), 3, gain);
}

void PaintMarkers(QPainter& p, const EqPanelPaintState& s, const Fonts& fonts) {
  const EqBandSet& bands = *s.bands;
  for (int slot = 0; slot < bands.ShownBandCount(); ++slot) {
    if (bands.band(slot).type != 0) PaintMarker(p, bands, slot, slot == s.selected, fonts);
  }
  const bool selectedDrawn = bands.IsShown(s.selected) && bands.band(s.selected).type != 0;
  const int readout = s.hovered >= 0 ? s.hovered : (selectedDrawn ? s.selected : -1);
  if (readout >= 0) PaintReadout(p, bands, readout, fonts);
  if (selectedDrawn) PaintStatusLine(p, bands.band(s.selected), s.selected, s.language, fonts);
}

}  // namespace

void PaintEqPanel(QPainter& painter, QSize size, const EqPanelPaintState& state) {
  painter.fillRect(QRect(QPoint(0, 0), size), kBackground);
  if (state.bands == nullptr) return;
  const Fonts fonts;
  const EqBandSet& bands = *state.bands;
  PaintGrid(painter, bands.plot(), fonts, EqIdentityTitle(bands.identity(), state.language));
  if (state.selected >= 0) PaintSelectedArea(painter, bands, state.selected);
  const bool measured = state.overlay != nullptr && state.overlay->hasMeasurement;
  PaintTotalCurve(painter, bands, measured);
  if (state.overlay != nullptr) PaintOverlay(painter, bands, *state.overlay);
  PaintMarkers(painter, state, fonts);
  if (state.bypass) {
    painter.setFont(fonts.bypass);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("BYPASS"));
  }
}

QString EqIdentityTitle(int identity, int language) {
  static const std::array<std::pair<const char*, const char*>, 7> kNamed = {{
      {"话筒A均衡", "Mic A EQ"},
      {"话筒B均衡", "Mic B EQ"},
      {"混响A均衡", "Reverb A EQ"},
      {"混响B均衡", "Reverb B EQ"},
      {"回声A均衡", "Echo A EQ"},
      {"回声B均衡", "Echo B EQ"},
      {"音乐均衡", "Music EQ"},
  }};
  if (identity >= 0 && identity < static_cast<int>(kNamed.size())) {
    const auto& pair = kNamed[static_cast<std::size_t>(identity)];
    return QString::fromUtf8(language == 1 ? pair.second : pair.first);
  }
  if (IsChannelIdentity(identity)) {
    const int channel = identity - 6;
    return language == 1 ? QStringLiteral("CH%1 EQ").arg(channel)
                         : QString::fromUtf8("通道%1均衡").arg(channel);
  }
  return {};
}

QColor EqBandColour(int slot) {
  const auto index = static_cast<std::size_t>(slot < 0 ? 0 : slot) % kBandColours.size();
  return QColor::fromRgb(kBandColours[index]);
}
