// Page switching of the tab container.
#include "controls/tab_wnd.h"

CTabWnd::CTabWnd(QWidget* parent) : QWidget(parent) {}

void CTabWnd::AddPage(QWidget* page) {
  if (page == nullptr) return;
  page->setParent(this);
  page->hide();
  pages_.append(page);
}

QWidget* CTabWnd::page(int index) const {
  return index >= 0 && index < count() ? pages_[index].data() : nullptr;
}

void CTabWnd::Layout() {
  for (const QPointer<QWidget>& p : pages_) {
    if (p) p->setGeometry(rect());
  }
  if (count() == 0) return;
  ShowOnly(0);
  current_ = 0;
}

int CTabWnd::Select(int index) {
  if (index < 0 || index >= count()) return -1;
  ShowOnly(index);
  const int previous = current_;
  current_ = index;
  return previous;
}

void CTabWnd::resizeEvent(QResizeEvent*) {
  for (const QPointer<QWidget>& p : pages_) {
    if (p) p->setGeometry(rect());
  }
}

void CTabWnd::ShowOnly(int index) {
  for (int i = 0; i < count(); ++i) {
    if (pages_[i]) pages_[i]->setVisible(i == index);
  }
}
