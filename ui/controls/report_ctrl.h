// The report list: a grid of texts with full-row selection, addressed by row and column. A click on a row
// is reported; the arrow keys only move the list's own highlight. The wheel never scrolls the list: it is
// reported so the page can step the slider that edits the clicked row.
#pragma once

#include <QTableWidget>
#include <QVector>

class CReportCtrl : public QTableWidget {
  Q_OBJECT
 public:
  explicit CReportCtrl(int controlId, QWidget* parent = nullptr);

  // Inserts a column before `column` (at the end when out of range); its cells take `alignment`. Returns
  // the column's index.
  int InsertColumn(int column, const QString& title, Qt::Alignment alignment, int width);
  // Inserts a row before `row` (at the end when out of range) with `text` in its first cell. Returns the
  // row's index.
  int InsertRow(int row, const QString& text = QString());
  // False when the cell does not exist.
  bool SetItemText(int row, int column, const QString& text);
  QString GetItemText(int row, int column) const;
  // The highlighted row, -1 when none.
  int GetSelectedRow() const;
  // Removes every row and column (a rebuild in another language starts from here).
  void DeleteAll();

 signals:
  void rowClicked(int controlId, int row);
  // +1 for a wheel turn away from the user, -1 towards.
  void wheelTurned(int controlId, int direction);

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  QTableWidgetItem* NewCell(int column, const QString& text) const;

  QVector<Qt::Alignment> alignments_;
};
