// A container that shows one of its pages at a time, each sized to fill it.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class CTabWnd : public QWidget {
  Q_OBJECT
 public:
  explicit CTabWnd(QWidget* parent = nullptr);

  // Takes `page` as a child after the pages added before it; it stays hidden until shown by Layout or
  // Select.
  void AddPage(QWidget* page);
  int count() const { return static_cast<int>(pages_.size()); }
  // nullptr outside 0..count() - 1 or once the page is gone.
  QWidget* page(int index) const;
  // -1 until a page is shown.
  int currentIndex() const { return current_; }

  // Sizes every page to the client area, shows the first and hides the others.
  void Layout();
  // Shows page `index` alone and makes it current; returns the index current before (-1 when none was).
  // An index outside the pages changes nothing and returns -1.
  int Select(int index);

 protected:
  // A resize keeps every page filling the container; the page shown stays shown.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowOnly(int index);

  QList<QPointer<QWidget>> pages_;
  int current_ = -1;
};
