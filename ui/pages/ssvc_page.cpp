// The sound-field location page.
#include "pages/ssvc_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QWheelEvent>

#include "controls/ss_volume_panel.h"
#include "controls/up_down.h"
#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "pages/output_nav.h"
#include "pages/page_edits.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"
#include "pages/ssvc_layout.h"
#include "tuning/location_ops.h"

namespace t = vireo::tuning;
namespace id = ssvc_page_id;

static_assert(kSsvcNavBarHeight == kOutputNavHeight, "the layout keeps the navigation bar's band free");

namespace {

// The "Locate" row (1..8, 0 none) outlives the page; a new page shows it again without sending it.
int g_locateRow = 0;

struct RoleName {
  const char* zh;
  const char* en;
};
constexpr std::array<RoleName, 8> kRoleNames{{{"前置左", "CH-L"},
                                              {"前置右", "CH-R"},
                                              {"后环绕左", "CH-SBL"},
                                              {"后环绕右", "CH-SBR"},
                                              {"超低", "CH-SUB"},
                                              {"中置", "CH-CEN"},
                                              {"侧环绕左", "CH-SL"},
                                              {"侧环绕右", "CH-SR"}}};
constexpr std::array<const char*, 8> kSpeakerNames{"L", "CEN", "R", "SBL", "SUB", "SBR", "SL", "SR"};

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

vireo::dsp::RoomMetres Metres(vireo::Point p) {
  return {p.x, p.y};
}

QLineEdit* NewEdit(int controlId, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  SetControlId(edit, controlId);
  edit->setAlignment(Qt::AlignCenter);
  return edit;
}

}  // namespace

CSSVCDlg::CSSVCDlg(AppServices& services, QWidget* parent)
    : CPage(PageKind::ssvc, services, parent),
      reset_(new QPushButton(this)),
      unit_(new QLabel(this)),
      roomGroup_(new QGroupBox(this)),
      widthLabel_(new QLabel(this)),
      lengthLabel_(new QLabel(this)),
      widthEdit_(NewEdit(id::widthEdit, this)),
      lengthEdit_(NewEdit(id::lengthEdit, this)),
      widthUpDown_(new CUpDown(id::widthUpDown, this)),
      lengthUpDown_(new CUpDown(id::lengthUpDown, this)),
      modify_(new QPushButton(this)),
      listenerGroup_(new QGroupBox(this)),
      center_(new QPushButton(this)),
      speakerGroup_(new QGroupBox(this)),
      picture_(new CSSVolumePanel(this)),
      nav_(new COutputNavBar(this)) {
  SetControlId(reset_, id::reset);
  SetControlId(unit_, id::unit);
  SetControlId(picture_, id::picture);
  BuildRoomControls();
  BuildPositionRows();
  BuildChannelRows();
  // The frames stay behind the controls they hold.
  for (QGroupBox* group : {roomGroup_, listenerGroup_, speakerGroup_}) group->lower();
  connect(reset_, &QPushButton::clicked, this, [this] { OnReset(); });
  TrackEditGestures(picture_, app().edits());
  connect(picture_, &CSSVolumePanel::itemGrabbed, this,
          [this](const SSVolumeItem& item) { OnPictureItem(item); });
  connect(picture_, &CSSVolumePanel::itemMoved, this,
          [this](const SSVolumeItem& item) { OnPictureItem(item); });
  ApplyTexts();
  RefreshFromStore();
}

void CSSVCDlg::BuildRoomControls() {
  SetControlId(roomGroup_, id::roomGroup);
  SetControlId(widthLabel_, id::widthLabel);
  SetControlId(lengthLabel_, id::lengthLabel);
  SetControlId(modify_, id::modify);
  SetControlId(listenerGroup_, id::listenerGroup);
  SetControlId(center_, id::center);
  SetControlId(speakerGroup_, id::speakerGroup);
  for (CUpDown* upDown : {widthUpDown_, lengthUpDown_})
    upDown->SetRange(t::kRoomMinMetres, t::kRoomMaxMetres);
  connect(modify_, &QPushButton::clicked, this, [this] { ApplyRoomSize(0, 0); });
  connect(widthUpDown_, &CUpDown::stepClicked, this, [this](int delta) { ApplyRoomSize(delta, 0); });
  connect(lengthUpDown_, &CUpDown::stepClicked, this, [this](int delta) { ApplyRoomSize(0, delta); });
  connect(center_, &QPushButton::clicked, this, [this] { OnCenter(); });
}

void CSSVCDlg::BuildPositionRows() {
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    PositionRow& row = rows_[r];
    const int index = static_cast<int>(r);
    if (r == 0) {
      row.x = NewEdit(id::listenerX, this);
      row.y = NewEdit(id::listenerY, this);
      row.xUpDown = new CUpDown(id::listenerXUpDown, this);
      row.yUpDown = new CUpDown(id::listenerYUpDown, this);
    } else {
      const int k = index - 1;
      row.name = new QLabel(QString::fromLatin1(kSpeakerNames[static_cast<std::size_t>(k)]), this);
      SetControlId(row.name, id::firstSpeakerName + k);
      row.x = NewEdit(id::firstSpeakerEdit + 2 * k, this);
      row.y = NewEdit(id::firstSpeakerEdit + 2 * k + 1, this);
      row.xUpDown = new CUpDown(id::firstSpeakerUpDown + 2 * k, this);
      row.yUpDown = new CUpDown(id::firstSpeakerUpDown + 2 * k + 1, this);
    }
    for (QLineEdit* edit : {row.x, row.y})
      connect(edit, &QLineEdit::returnPressed, this, [this, index] { ApplyPosition(index, true); });
    connect(row.xUpDown, &CUpDown::stepClicked, this,
            [this, index](int delta) { StepPosition(index, false, delta); });
    connect(row.yUpDown, &CUpDown::stepClicked, this,
            [this, index](int delta) { StepPosition(index, true, delta); });
  }
}

void CSSVCDlg::BuildChannelRows() {
  for (std::size_t c = 0; c < channels_.size(); ++c) {
    const int ch = static_cast<int>(c);
    ChannelRow& row = channels_[c];
    row.locate = new QCheckBox(this);
    SetControlId(row.locate, id::locate[c]);
    row.role = new QLabel(this);
    SetControlId(row.role, id::firstRole + ch);
    row.slider = new CXBmpSlider(id::firstSlider + ch, this);
    row.slider->SetMargins(kLocationSliderMargins);
    row.slider->SetBackgroundColor(kDialogBackground);
    row.slider->SetRange(0, 100);
    TrackEditGestures(row.slider, app().edits());
    row.percent = new QLabel(this);
    SetControlId(row.percent, id::firstPercent + ch);
    row.percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(row.locate, &QCheckBox::clicked, this, [this, ch](bool checked) { OnLocate(ch, checked); });
    connect(row.slider, &CXBmpSlider::positionChanged, this,
            [this, ch](int, int position) { OnSlider(ch, position); });
  }
}

void CSSVCDlg::ApplyTexts() {
  CPage::ApplyLanguage();
  const int dlg = templateId();
  reset_->setText(DialogText(dlg, id::reset, "复位", "Reset"));
  unit_->setText(DialogText(dlg, id::unit, "长度单位:米(m)", "Unit:m"));
  roomGroup_->setTitle(DialogText(dlg, id::roomGroup, "房间大小", "Room size"));
  widthLabel_->setText(DialogText(dlg, id::widthLabel, "宽(m)", "Width(m)"));
  lengthLabel_->setText(DialogText(dlg, id::lengthLabel, "长(m)", "Length(m)"));
  modify_->setText(DialogText(dlg, id::modify, "立即修改", "Modify"));
  listenerGroup_->setTitle(DialogText(dlg, id::listenerGroup, "听众位置", "Audience source"));
  center_->setText(DialogText(dlg, id::center, "居中", "Center"));
  speakerGroup_->setTitle(DialogText(dlg, id::speakerGroup, "声源的位置", "Sound source"));
  for (std::size_t k = 1; k < rows_.size(); ++k) {
    const QString name = QString::fromLatin1(kSpeakerNames[k - 1]);
    rows_[k].name->setText(DialogText(dlg, id::firstSpeakerName + static_cast<int>(k) - 1, name));
  }
  for (std::size_t c = 0; c < channels_.size(); ++c)
    channels_[c].locate->setText(DialogText(dlg, id::locate[c], "定位", "Locate"));
}

void CSSVCDlg::ShowRoles() {
  const vireo::ParameterStore& store = app().store();
  for (std::size_t c = 0; c < channels_.size(); ++c) {
    const int role = store.Int(vireo::slot::chType[static_cast<int>(c)]);
    QString name;
    if (role >= 0 && role < static_cast<int>(kRoleNames.size())) {
      const RoleName& n = kRoleNames[static_cast<std::size_t>(role)];
      name = LanguageIndex() == 1 ? QString::fromLatin1(n.en) : QString::fromUtf8(n.zh);
    }
    // The channel's name first: the rows stand in two columns, and a role alone does not say which
    // output a row sets.
    const int number = static_cast<int>(c) + 1;
    const QString channel =
        LanguageIndex() == 1 ? QStringLiteral("CH %1").arg(number) : QString::fromUtf8("通道%1").arg(number);
    channels_[c].role->setText(QStringLiteral("%1 (%2)").arg(channel, name));
  }
}

void CSSVCDlg::RefreshFromStore() {
  nav_->Refresh();
  const vireo::ParameterStore& store = app().store();
  for (std::size_t c = 0; c < channels_.size(); ++c) {
    ChannelRow& row = channels_[c];
    row.locate->setChecked(g_locateRow == static_cast<int>(c) + 1);
    row.slider->SetPos(store.Int(vireo::slot::chTrim[static_cast<int>(c)]));
    row.percent->setText(QStringLiteral("%1%").arg(row.slider->GetPos()));
  }
  ShowRoles();
  ShowGeometry(store.geometry());
}

void CSSVCDlg::ShowGeometry(const vireo::LocationGeometry& g) {
  picture_->SetRoomSize(g.roomWidth, g.roomLength);
  widthEdit_->setText(Text(t::RoomSizeText(g.roomWidth)));
  lengthEdit_->setText(Text(t::RoomSizeText(g.roomLength)));
  widthUpDown_->SetPos(g.roomWidth);
  lengthUpDown_->SetPos(g.roomLength);
  SetPositionReach(g.roomWidth, g.roomLength);
  ShowPosition(0, g.listener);
  for (std::size_t k = 0; k < g.speakers.size(); ++k) ShowPosition(static_cast<int>(k) + 1, g.speakers[k]);
}

void CSSVCDlg::SetPositionReach(int roomWidth, int roomLength) {
  const int x = t::PositionReachTenths(roomWidth);
  const int y = t::PositionReachTenths(roomLength);
  for (PositionRow& row : rows_) {
    row.xUpDown->SetRange(-x, x);
    row.yUpDown->SetRange(-y, y);
  }
}

// Edits, up-downs and the picture's item of a row.
void CSSVCDlg::ShowPosition(int row, vireo::Point at) {
  PositionRow& r = rows_[static_cast<std::size_t>(row)];
  r.x->setText(Text(t::PositionText(at.x)));
  r.y->setText(Text(t::PositionText(at.y)));
  r.xUpDown->SetPos(t::PositionTenths(at.x));
  r.yUpDown->SetPos(t::PositionTenths(at.y));
  picture_->SetItem(row, Metres(at));
}

void CSSVCDlg::ApplyRoomSize(int widthStep, int lengthStep) {
  const int width = t::ClampRoomSize(widthStep != 0 ? widthUpDown_->GetPos() + widthStep
                                                    : t::ParseLeadingInt(widthEdit_->text().toStdString()));
  const int length =
      t::ClampRoomSize(lengthStep != 0 ? lengthUpDown_->GetPos() + lengthStep
                                       : t::ParseLeadingInt(lengthEdit_->text().toStdString()));
  widthEdit_->setText(Text(t::RoomSizeText(width)));
  lengthEdit_->setText(Text(t::RoomSizeText(length)));
  widthUpDown_->SetPos(width);
  lengthUpDown_->SetPos(length);
  picture_->SetRoomSize(width, length);
  pageEdits().SetRoomSize(width, length);
  SetPositionReach(width, length);
}

void CSSVCDlg::StepPosition(int row, bool yAxis, int delta) {
  PositionRow& r = rows_[static_cast<std::size_t>(row)];
  CUpDown* upDown = yAxis ? r.yUpDown : r.xUpDown;
  QLineEdit* edit = yAxis ? r.y : r.x;
  upDown->SetPos(upDown->Stepped(delta));
  edit->setText(Text(t::PositionText(upDown->GetPos() / 10.0)));
  edit->setFocus();
  ApplyPosition(row, false);
}

void CSSVCDlg::ApplyPosition(int row, bool fromEnter) {
  PositionRow& r = rows_[static_cast<std::size_t>(row)];
  const vireo::LocationGeometry g = app().store().geometry();
  const vireo::Point at =
      t::ClampToRoom(t::ParsePosition(r.x->text().toStdString()), t::ParsePosition(r.y->text().toStdString()),
                     g.roomWidth, g.roomLength);
  if (fromEnter) {
    r.xUpDown->SetPos(t::PositionTenths(at.x));
    r.yUpDown->SetPos(t::PositionTenths(at.y));
  }
  r.x->setText(Text(t::PositionText(at.x)));
  r.y->setText(Text(t::PositionText(at.y)));
  picture_->SetItem(row, Metres(at));
  if (row == 0) {
    pageEdits().MoveListener(at);
  } else {
    pageEdits().MoveSpeaker(row - 1, at);
  }
}

void CSSVCDlg::OnPictureItem(const SSVolumeItem& item) {
  const vireo::Point at{item.metres.x, item.metres.y};
  if (item.index == 0) {
    pageEdits().MoveListener(at);
  } else {
    pageEdits().DragSpeaker(item.index - 1, at);
  }
  PositionRow& r = rows_[static_cast<std::size_t>(item.index)];
  r.x->setText(Text(t::PositionText(at.x)));
  r.y->setText(Text(t::PositionText(at.y)));
  r.xUpDown->SetPos(t::PositionTenths(at.x));
  r.yUpDown->SetPos(t::PositionTenths(at.y));
}

void CSSVCDlg::OnCenter() {
  ShowPosition(0, vireo::Point{0.0f, 0.0f});
  pageEdits().CenterListener();
}

void CSSVCDlg::OnReset() {
  pageEdits().ResetLocation();
  ShowGeometry(app().store().geometry());
}

void CSSVCDlg::OnLocate(int channel, bool checked) {
  pageEdits().SendLocate(checked ? channel : -1);
  g_locateRow = checked ? channel + 1 : 0;
  for (std::size_t c = 0; c < channels_.size(); ++c)
    channels_[c].locate->setChecked(g_locateRow == static_cast<int>(c) + 1);
}

void CSSVCDlg::OnSlider(int channel, int position) {
  pageEdits().SetChannelTrim(channel, position);
  channels_[static_cast<std::size_t>(channel)].percent->setText(QStringLiteral("%1%").arg(position));
}

void CSSVCDlg::ApplyLanguage() {
  ApplyTexts();
  nav_->ApplyLanguage();
  ShowRoles();
}

void CSSVCDlg::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  nav_->setGeometry(0, 0, width(), kOutputNavHeight);
  const SsvcPageLayout l = LayoutSsvcPage(size());
  reset_->setGeometry(l.reset);
  unit_->setGeometry(l.unit);
  roomGroup_->setGeometry(l.roomGroup);
  widthLabel_->setGeometry(l.widthLabel);
  widthEdit_->setGeometry(l.widthEdit);
  widthUpDown_->setGeometry(l.widthUpDown);
  lengthLabel_->setGeometry(l.lengthLabel);
  lengthEdit_->setGeometry(l.lengthEdit);
  lengthUpDown_->setGeometry(l.lengthUpDown);
  modify_->setGeometry(l.modify);
  listenerGroup_->setGeometry(l.listenerGroup);
  center_->setGeometry(l.center);
  speakerGroup_->setGeometry(l.speakerGroup);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const SsvcPositionRow& at = r == 0 ? l.listener : l.speakers[r - 1];
    if (rows_[r].name != nullptr) rows_[r].name->setGeometry(at.name);
    rows_[r].x->setGeometry(at.xEdit);
    rows_[r].xUpDown->setGeometry(at.xUpDown);
    rows_[r].y->setGeometry(at.yEdit);
    rows_[r].yUpDown->setGeometry(at.yUpDown);
  }
  for (std::size_t c = 0; c < channels_.size(); ++c) {
    channels_[c].locate->setGeometry(l.channels[c].locate);
    channels_[c].role->setGeometry(l.channels[c].role);
    channels_[c].slider->setGeometry(l.channels[c].slider);
    channels_[c].percent->setGeometry(l.channels[c].percent);
  }
  picture_->setGeometry(l.picture);
}

void CSSVCDlg::wheelEvent(QWheelEvent* event) {
  if (ForwardWheelToFocus(this, event)) return;
  // The size and position edits take the turn and ignore it.
  if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      edit != nullptr && isAncestorOf(edit)) {
    event->accept();
    return;
  }
  CPage::wheelEvent(event);
}
