// The ribbon.
#include "ribbon/ribbon_bar.h"

#include <QBoxLayout>
#include <QCursor>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>

#include "controls/ribbon_icons.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "ribbon/application_menu.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_category.h"
#include "ribbon/ribbon_style.h"

namespace {

constexpr int kTabRowButtons[] = {cmd::features,      cmd::smartPlug, cmd::inputSource,    cmd::machineReset,
                                  cmd::remoteControl, cmd::abCompare, cmd::switchLanguage, cmd::appAbout};
// Beside the application button, as a quick-access bar.
constexpr int kQuickAccessButtons[] = {cmd::editUndo, cmd::editRedo};

QString TabRowCaption(int id, int languageIndex) {
  const bool en = languageIndex == 1;
  switch (id) {
    case cmd::features:
      return en ? QStringLiteral("Features") : QString::fromUtf8("特色功能");
    case cmd::smartPlug:
      return en ? QStringLiteral("Smart plug") : QString::fromUtf8("智能插座");
    case cmd::inputSource:
      return en ? QStringLiteral("Input Source") : QString::fromUtf8("输入源");
    case cmd::machineReset:
      return en ? QStringLiteral("Reset") : QString::fromUtf8("机器复位");
    case cmd::remoteControl:
      return en ? QStringLiteral("Remote control") : QString::fromUtf8("遥控学习");
    case cmd::switchLanguage:
      return QString::fromUtf8("中/EN");
    case cmd::abCompare:
      return QStringLiteral("A/B");
    case cmd::editUndo:
      return en ? QStringLiteral("Undo") : QString::fromUtf8("撤销");
    case cmd::editRedo:
      return en ? QStringLiteral("Redo") : QString::fromUtf8("重做");
    default:
      return {};
  }
}

QString CategoryCaption(int index, int languageIndex) {
  if (index == kInputCategory)
    return languageIndex == 1 ? QStringLiteral("Input") : QString::fromUtf8("输入控制");
  return languageIndex == 1 ? QStringLiteral("Output") : QString::fromUtf8("输出调节");
}

}  // namespace

CRibbonBar::CRibbonBar(int languageIndex, std::function<QStringList()> recentFiles, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("ribbonBar"));
  setAttribute(Qt::WA_StyledBackground);
  setStyleSheet(RibbonStyleSheet());
  modeMenus_ = new CModeMenus(this);
  connect(modeMenus_, &CModeMenus::commandTriggered, this, &CRibbonBar::commandTriggered);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(BuildTabRow(languageIndex, std::move(recentFiles)));
  stack_ = new QStackedWidget(this);
  stack_->setObjectName(QStringLiteral("ribbonCategories"));
  column->addWidget(stack_);
  for (int index : {kInputCategory, kOutputCategory}) {
    auto* category =
        new CRibbonCategory(index == kInputCategory ? kInputIds : kOutputIds, modeMenus_->loadMenu(),
                            modeMenus_->saveMenu(), languageIndex, stack_);
    categories_[static_cast<std::size_t>(index)] = category;
    stack_->addWidget(category);
    connect(category, &CRibbonCategory::commandTriggered, this, &CRibbonBar::commandTriggered);
    connect(category, &CRibbonCategory::sliderMoved, this,
            [this, index](MasterLevel level, int value) { emit sliderMoved(index, level, value); });
    connect(category, &CRibbonCategory::muteClicked, this,
            [this, index](MasterLevel level) { emit muteClicked(index, level); });
    tabs_->addTab(CategoryCaption(index, languageIndex));
  }
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    stack_->setCurrentIndex(index);
    emit categoryChanged(index);
  });
  WatchWheel(this);
  // Sizes measured before the style sheet reaches the children would be too small for the styled tabs.
  for (QWidget* child : findChildren<QWidget*>()) child->ensurePolished();
  // The tab bar measured its captions when they were added, in the font before the style sheet; setting
  // a caption again drops that measure, so the last tab is not clipped.
  for (int index = 0; index < tabs_->count(); ++index) tabs_->setTabText(index, tabs_->tabText(index));
  tabs_->updateGeometry();
  setFixedHeight(sizeHint().height());
}

QWidget* CRibbonBar::BuildTabRow(int languageIndex, std::function<QStringList()> recentFiles) {
  auto* rowWidget = new QWidget(this);
  rowWidget->setObjectName(QStringLiteral("ribbonTabRow"));
  auto* row = new QHBoxLayout(rowWidget);
  row->setContentsMargins(2, 2, 6, 0);
  row->setSpacing(2);

  auto* appButton = new QToolButton(rowWidget);
  appButton->setObjectName(QStringLiteral("applicationButton"));
  appButton->setIcon(RibbonIcon(RibbonPicture::application));
  appButton->setIconSize(QSize(24, 24));
  appButton->setAutoRaise(true);
  appButton->setPopupMode(QToolButton::InstantPopup);
  appButton->setFocusPolicy(Qt::NoFocus);
  appMenu_ = new CApplicationMenu(languageIndex, std::move(recentFiles), appButton);
  appButton->setMenu(appMenu_);
  connect(appMenu_, &CApplicationMenu::commandTriggered, this, &CRibbonBar::commandTriggered);
  connect(appMenu_, &CApplicationMenu::recentFileChosen, this, &CRibbonBar::recentFileChosen);
  row->addWidget(appButton);
  for (int id : kQuickAccessButtons) AddQuickAccessButton(row, id);

  tabs_ = new QTabBar(rowWidget);
  tabs_->setObjectName(QStringLiteral("ribbonTabs"));
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->setUsesScrollButtons(false);
  tabs_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->installEventFilter(this);
  row->addWidget(tabs_, 0, Qt::AlignBottom);
  row->addStretch(1);
  for (int id : kTabRowButtons) AddTabRowButton(row, id);
  RecaptionShell(languageIndex);
  return rowWidget;
}

void CRibbonBar::AddTabRowButton(QLayout* row, int id) {
  auto* button = new QToolButton(this);
  SetControlId(button, id);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  if (id == cmd::appAbout) {
    button->setIcon(RibbonIcon(RibbonPicture::about));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  } else {
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }
  connect(button, &QToolButton::clicked, this, [this, id, button] {
    emit commandTriggered(id);
    // A command that opened a modal box took the pointer's leave event with it: the button would stay
    // lit as if still under the pointer.
    if (!button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
      button->setAttribute(Qt::WA_UnderMouse, false);
      button->update();
    }
  });
  row->addWidget(button);
}

void CRibbonBar::AddQuickAccessButton(QLayout* row, int id) {
  auto* button = new QToolButton(this);
  SetControlId(button, id);
  button->setIcon(RibbonIcon(id == cmd::editUndo ? RibbonPicture::undo : RibbonPicture::redo));
  button->setIconSize(QSize(16, 16));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setEnabled(false);  // nothing to undo before the first edit
  connect(button, &QToolButton::clicked, this, [this, id] { emit commandTriggered(id); });
  row->addWidget(button);
}

void CRibbonBar::SetUndoRedoEnabled(bool canUndo, bool canRedo) {
  if (QToolButton* undo = tabRowButton(cmd::editUndo)) undo->setEnabled(canUndo);
  if (QToolButton* redo = tabRowButton(cmd::editRedo)) redo->setEnabled(canRedo);
}

void CRibbonBar::RecaptionShell(int languageIndex) {
  for (int id : kTabRowButtons) {
    if (QToolButton* button = tabRowButton(id)) button->setText(TabRowCaption(id, languageIndex));
  }
  for (int id : kQuickAccessButtons) {
    if (QToolButton* button = tabRowButton(id)) {
      button->setText(TabRowCaption(id, languageIndex));
      button->setToolTip(button->text());
    }
  }
  for (int index = 0; index < tabs_->count(); ++index)
    tabs_->setTabText(index, CategoryCaption(index, languageIndex));
}

QToolButton* CRibbonBar::tabRowButton(int id) const {
  for (QToolButton* button : findChildren<QToolButton*>()) {
    if (ControlIdOf(button) == id && button->parentWidget() &&
        button->parentWidget()->objectName() == "ribbonTabRow")
      return button;
  }
  return nullptr;
}

int CRibbonBar::shownCategory() const {
  return tabs_->currentIndex() == kOutputCategory ? kOutputCategory : kInputCategory;
}

void CRibbonBar::SelectCategory(int index) {
  tabs_->setCurrentIndex(index);
}

QString CRibbonBar::categoryCaption(int index) const {
  return tabs_->tabText(index);
}

bool CRibbonBar::WheelTargetAt(const QPoint& pos, MasterLevel* level) const {
  const CRibbonCategory* shown = category(shownCategory());
  return shown->WheelTargetAt(shown->mapFrom(this, pos), level);
}

void CRibbonBar::WatchWheel(QWidget* widget) {
  widget->installEventFilter(this);
  for (QWidget* child : widget->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool CRibbonBar::eventFilter(QObject* watched, QEvent* event) {
  // The Input and Output tabs never collapse the ribbon: their double clicks end here.
  if (watched == tabs_ && event->type() == QEvent::MouseButtonDblClick) return true;
  // An open menu is a window of its own: a turn over it scrolls the menu, not a level behind it.
  if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == window()) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    if (delta != 0) emit wheelTurned(mapFromGlobal(wheel->globalPosition().toPoint()), delta > 0 ? 1 : -1);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
