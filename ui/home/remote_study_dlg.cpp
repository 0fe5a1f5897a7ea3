// The learning dialog.
#include "home/remote_study_dlg.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>

#include "controls/gdip_button.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/report.h"
#include "services/smart_home_link.h"
#include "smarthome/remote_keys.h"

namespace id = remote_study_id;

namespace {

// The picture at the dialog's side: a remote sending infrared waves while waiting, a tick once learned.
class LearningIcon final : public QWidget {
 public:
  explicit LearningIcon(QWidget* parent) : QWidget(parent) { setFixedSize(72, 72); }
  void SetLearned(bool learned) {
    learned_ = learned;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(4, 4, -4, -4);
    p.setPen(Qt::NoPen);
    p.setBrush(learned_ ? QColor(222, 244, 228) : QColor(220, 236, 252));
    p.drawEllipse(disc);
    if (learned_) {
      p.setPen(QPen(QColor(46, 150, 84), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath tick;
      tick.moveTo(22, 37);
      tick.lineTo(32, 47);
      tick.lineTo(51, 27);
      p.drawPath(tick);
      return;
    }
    // A remote seen from above, pointing up-right, with three waves leaving its tip.
    p.save();
    p.translate(30, 44);
    p.rotate(45);
    p.setPen(QPen(QColor(30, 34, 42), 1));
    p.setBrush(QColor(60, 66, 78));
    p.drawRoundedRect(QRectF(-8, -18, 16, 34), 5, 5);
    p.setBrush(QColor(226, 78, 70));
    p.drawEllipse(QPointF(0, -11), 2.6, 2.6);
    p.setBrush(QColor(190, 196, 206));
    for (int row = 0; row < 3; ++row) p.drawEllipse(QPointF(0, -2 + row * 6), 2, 2);
    p.restore();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
      p.setPen(QPen(QColor(40, 130, 220, 230 - i * 60), 2.4, Qt::SolidLine, Qt::RoundCap));
      const double r = 8 + i * 7;
      p.drawArc(QRectF(38 - r, 34 - r, 2 * r, 2 * r), 10 * 16, 70 * 16);
    }
  }

 private:
  bool learned_ = false;
};

}  // namespace

CRemoteStudyDlg::CRemoteStudyDlg(SmartHomeLink& link, int function, QWidget* parent)
    : QDialog(parent), link_(link), function_(function) {
  SetControlId(this, id::dialog);
  ApplyDialogBackground(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  icon_ = new LearningIcon(this);
  keyText_ = new QLabel(this);
  SetControlId(keyText_, id::keyText);
  keyText_->setFont(HeiTiFont(16, 600));
  keyText_->setStyleSheet(QStringLiteral("color: rgb(24, 58, 110);"));
  hint_ = new QLabel(this);
  SetControlId(hint_, id::hint);
  hint_->setWordWrap(true);
  hint_->setMinimumWidth(300);
  hint_->setStyleSheet(QStringLiteral("color: rgb(80, 90, 105);"));
  code_ = new QLabel(this);
  SetControlId(code_, id::code);
  QFont mono;
  mono.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
  mono.setPixelSize(30);
  mono.setBold(true);
  code_->setFont(mono);
  code_->setStyleSheet(QStringLiteral("color: rgb(38, 128, 72);"));
  code_->setVisible(false);
  closingNote_ = new QLabel(this);
  SetControlId(closingNote_, id::closingNote);
  closingNote_->setStyleSheet(QStringLiteral("color: rgb(80, 90, 105);"));
  closingNote_->setVisible(false);

  cancel_ = new CGdipButton(id::cancel, QString(), this);
  close_ = new CGdipButton(id::close, QString(), this);
  for (CGdipButton* b : {cancel_, close_}) b->setMinimumSize(104, 28);
  close_->setVisible(false);
  connect(cancel_, &CGdipButton::clicked, this, &CRemoteStudyDlg::reject);
  connect(close_, &CGdipButton::clicked, this, &CRemoteStudyDlg::accept);

  auto* texts = new QVBoxLayout;
  texts->setSpacing(6);
  texts->addWidget(keyText_);
  texts->addWidget(hint_);
  auto* codeRow = new QHBoxLayout;
  codeRow->addWidget(code_);
  codeRow->addWidget(closingNote_, 1, Qt::AlignBottom);
  texts->addLayout(codeRow);
  texts->addStretch(1);
  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addWidget(icon_, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  buttons->addWidget(close_);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(18, 18, 18, 14);
  column->addLayout(top, 1);
  column->addLayout(buttons);
  setMinimumWidth(440);

  autoClose_.setSingleShot(true);
  connect(&autoClose_, &QTimer::timeout, this, &CRemoteStudyDlg::accept);
  Recaption();
}

void CRemoteStudyDlg::Recaption() {
  setWindowTitle(LangText("学习中……", "Learning"));
  keyText_->setText(QString::fromStdString(vireo::smarthome::LearningText(function_, LanguageIndex())));
  hint_->setText(LangText("请将遥控器对准机器，按下要学习的按键。",
                          "Point the remote at the machine and press the key."));
  closingNote_->setText(LangText("窗口将自动关闭", "Window will be closed!"));
  cancel_->setText(LangText("放弃学习", "Cancel"));
  close_->setText(LangText("关闭", "Close"));
  ApplyLanguageTexts(this, id::dialog);
}

void CRemoteStudyDlg::OnKeyLearned(int code) {
  code_->setText(QString::asprintf("%02X", code & 0xFF));
  if (learned_) return;
  learned_ = true;
  static_cast<LearningIcon*>(icon_)->SetLearned(true);
  hint_->setVisible(false);
  code_->setVisible(true);
  closingNote_->setVisible(true);
  cancel_->setVisible(false);
  close_->setVisible(true);
  close_->setFocus();
  autoClose_.start(kLearnedCloseMs);
}

void CRemoteStudyDlg::reject() {
  // The learning request waits for a reply that only a pressed key brings: release it before the stop.
  if (!learned_ && !stopSent_) {
    stopSent_ = true;
    link_.SendCommand(vireo::code::stopLearning, {}, /*releasePacing=*/true);
  }
  autoClose_.stop();
  QDialog::reject();
}

void CRemoteStudyDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    (learned_ ? close_ : cancel_)->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
