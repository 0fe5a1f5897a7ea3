// The picture button of the navigation bar and the pages: a drawn face with a centred caption or glyph,
// brightened under the pointer, darker while pressed or checked, grey when disabled. Clicks are the
// ordinary clicked() of a button.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

#include "look/button_look.h"

enum class ButtonGlyph { none, back };

class CGdipButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit CGdipButton(int controlId, const QString& caption = QString(), QWidget* parent = nullptr);

  // The caption's face and colour: by default a 12-pixel "宋体" in white.
  void SetTextFont(const QFont& font);
  void SetTextColor(const QColor& colour);
  // A toggle button keeps its checked state between clicks; SetCheck shows a state without a click.
  void SetToggle(bool toggle) { setCheckable(toggle); }
  void SetCheck(bool checked);
  // A drawn picture shown instead of the caption.
  void SetGlyph(ButtonGlyph glyph);

  ButtonState visualState() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor textColour_{Qt::white};
  ButtonGlyph glyph_ = ButtonGlyph::none;
};
