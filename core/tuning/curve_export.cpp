#include "tuning/curve_export.h"

#include <algorithm>
#include <cstdio>

#include "dsp/band_response.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {

namespace {

constexpr double kWidth = 960.0;
constexpr double kHeight = 420.0;
constexpr double kLeft = 56.0;
constexpr double kRight = 16.0;
constexpr double kTop = 36.0;
constexpr double kBottom = 34.0;
constexpr double kDbRange = 15.0;

double X(double frequency) {
  return kLeft + dsp::AxisFraction(frequency) * (kWidth - kLeft - kRight);
}

double Y(double db) {
  const double clamped = std::clamp(db, -kDbRange - 1.0, kDbRange + 1.0);
  return kTop + (kDbRange - clamped) / (2.0 * kDbRange) * (kHeight - kTop - kBottom);
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Polyline(const dsp::ResponseArray& values, const char* colour, double width) {
  std::string points;
  char pair[40];
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    const double f = dsp::GridFrequency(i);
    if (f < 20.0 || f > 20000.0) continue;
    std::snprintf(pair, sizeof pair, "%.1f,%.1f ", X(f), Y(values[static_cast<std::size_t>(i)]));
    points += pair;
  }
  if (!points.empty()) points.pop_back();
  char head[120];
  std::snprintf(head, sizeof head, "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"%.1f\" points=\"",
                colour, width);
  return std::string(head) + points + "\"/>\n";
}

}  // namespace

EqCurve EqCurveOf(const ParameterStore& store, int identity) {
  EqCurve curve;
  const EqIdentity* eq = FindEqIdentity(identity);
  if (eq == nullptr) return curve;
  for (int band = 0; band < eq->bandCount; ++band) {
    dsp::ResponseArray response{};
    if (!dsp::ComputeBandResponse(ReadEqBand(store, identity, band), 0.0, response)) continue;
    curve.bandNumbers.push_back(band + 1);
    curve.bands.push_back(response);
    for (std::size_t i = 0; i < response.size(); ++i) curve.total[i] += response[i];
  }
  return curve;
}

std::string CurveCsv(const EqCurve& curve, const CurveOverlay* overlay) {
  std::string out = "frequency_hz";
  for (int n : curve.bandNumbers) out += ",band_" + std::to_string(n) + "_db";
  out += overlay != nullptr ? ",total_db,measurement_db,target_db,prediction_db\n" : ",total_db\n";
  char cell[32];
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    std::snprintf(cell, sizeof cell, "%.2f", dsp::GridFrequency(i));
    out += cell;
    const auto index = static_cast<std::size_t>(i);
    for (const dsp::ResponseArray& band : curve.bands) {
      std::snprintf(cell, sizeof cell, ",%.3f", static_cast<double>(band[index]));
      out += cell;
    }
    std::snprintf(cell, sizeof cell, ",%.3f", static_cast<double>(curve.total[index]));
    out += cell;
    if (overlay != nullptr) {
      for (const dsp::ResponseArray* column :
           {&overlay->measurement, &overlay->target, &overlay->prediction}) {
        std::snprintf(cell, sizeof cell, ",%.3f", static_cast<double>((*column)[index]));
        out += cell;
      }
    }
    out += '\n';
  }
  return out;
}

std::string CurveSvg(const EqCurve& curve, std::string_view title) {
  char line[200];
  std::string out;
  std::snprintf(
      line, sizeof line,
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" "
      "font-family=\"sans-serif\" font-size=\"12\">\n",
      kWidth, kHeight, kWidth, kHeight);
  out += line;
  out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  out += "<text x=\"" + std::to_string(static_cast<int>(kLeft)) +
         "\" y=\"22\" font-size=\"15\" fill=\"#1a1a1a\">" + Escaped(title) + "</text>\n";
  for (int db = -15; db <= 15; db += 3) {
    std::snprintf(line, sizeof line,
                  "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\"/>"
                  "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\" fill=\"#555555\">%s%d dB</text>\n",
                  kLeft, Y(db), kWidth - kRight, Y(db), db == 0 ? "#888888" : "#e2e2e2", kLeft - 6, Y(db) + 4,
                  db > 0 ? "+" : "", db);
    out += line;
  }
  const struct {
    double f;
    const char* label;
  } marks[] = {{20, "20"},   {50, "50"},   {100, "100"}, {200, "200"},   {500, "500"},
               {1000, "1k"}, {2000, "2k"}, {5000, "5k"}, {10000, "10k"}, {20000, "20k"}};
  for (const auto& m : marks) {
    std::snprintf(line, sizeof line,
                  "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#e2e2e2\"/>"
                  "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" fill=\"#555555\">%s</text>\n",
                  X(m.f), kTop, X(m.f), kHeight - kBottom, X(m.f), kHeight - kBottom + 16, m.label);
    out += line;
  }
  out += "<text x=\"" + std::to_string(static_cast<int>(kWidth - kRight)) + "\" y=\"" +
         std::to_string(static_cast<int>(kHeight - 4)) +
         "\" text-anchor=\"end\" fill=\"#555555\">Hz</text>\n";
  // Curves beyond +-15 dB are cut at the plot's edge instead of running over the axis labels.
  std::snprintf(
      line, sizeof line,
      "<clipPath id=\"plot\"><rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\"/></clipPath>\n"
      "<g clip-path=\"url(#plot)\">\n",
      kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom);
  out += line;
  for (const dsp::ResponseArray& band : curve.bands) out += Polyline(band, "#9bb7d4", 1.0);
  out += Polyline(curve.total, "#0a5fb4", 2.5);
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace vireo::tuning
