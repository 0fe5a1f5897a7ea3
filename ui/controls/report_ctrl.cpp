// The report list.
#include "controls/report_ctrl.h"

#include <QHeaderView>
#include <QWheelEvent>

#include "look/control_id.h"

namespace {

// The ribbon's caption blue for the header, its edge blue for the grid.
const char* const kReportStyle =
    "CReportCtrl { background: white; gridline-color: #a7c1e2; border: 1px solid #8db2e3;"
    " selection-background-color: #c2d9f0; selection-color: #15428b; }"
    // A disabled list keeps its chosen row faintly, so it does not look like the one to act on.
    "CReportCtrl:disabled { color: #8c98a6; selection-background-color: #e9eef4; selection-color: #8c98a6; }"
    "CReportCtrl QHeaderView::section { color: #15428b; padding: 2px 4px; border: none;"
    " border-right: 1px solid #a7c1e2; border-bottom: 1px solid #8db2e3;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7fafe, stop:1 #dbe7f6); }";

}  // namespace

CReportCtrl::CReportCtrl(int controlId, QWidget* parent) : QTableWidget(parent) {
  SetControlId(this, controlId);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  const int rowHeight = fontMetrics().height() + 6;
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  setStyleSheet(QString::fromLatin1(kReportStyle));
  connect(this, &QTableWidget::cellClicked, this,
          [this](int row, int) { emit rowClicked(ControlIdOf(this), row); });
}

QTableWidgetItem* CReportCtrl::NewCell(int column, const QString& text) const {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setTextAlignment(alignments_.value(column, Qt::AlignLeft) | Qt::AlignVCenter);
  return item;
}

int CReportCtrl::InsertColumn(int column, const QString& title, Qt::Alignment alignment, int width) {
  const int at = column >= 0 && column <= columnCount() ? column : columnCount();
  insertColumn(at);
  alignments_.insert(at, alignment & Qt::AlignHorizontal_Mask);
  auto* header = new QTableWidgetItem(title);
  header->setTextAlignment(alignments_[at] | Qt::AlignVCenter);
  setHorizontalHeaderItem(at, header);
  setColumnWidth(at, width);
  for (int row = 0; row < rowCount(); ++row) setItem(row, at, NewCell(at, QString()));
  return at;
}

int CReportCtrl::InsertRow(int row, const QString& text) {
  const int at = row >= 0 && row <= rowCount() ? row : rowCount();
  insertRow(at);
  for (int column = 0; column < columnCount(); ++column) {
    setItem(at, column, NewCell(column, column == 0 ? text : QString()));
  }
  return at;
}

bool CReportCtrl::SetItemText(int row, int column, const QString& text) {
  QTableWidgetItem* cell = item(row, column);
  if (cell == nullptr) return false;
  cell->setText(text);
  return true;
}

QString CReportCtrl::GetItemText(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell != nullptr ? cell->text() : QString();
}

int CReportCtrl::GetSelectedRow() const {
  const QList<QTableWidgetItem*> chosen = selectedItems();
  return chosen.isEmpty() ? -1 : chosen.first()->row();
}

void CReportCtrl::DeleteAll() {
  setRowCount(0);
  setColumnCount(0);
  alignments_.clear();
}

void CReportCtrl::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  event->accept();
  if (delta != 0) emit wheelTurned(ControlIdOf(this), delta > 0 ? 1 : -1);
}
