// The band list.
#include "pages/band_list.h"

#include <QComboBox>
#include <QStyledItemDelegate>

#include "i18n/language_table.h"
#include "tuning/band_text.h"

namespace {

QString TypeName(int code) {
  return QString::fromUtf8(vireo::tuning::BandTypeName(code, LanguageIndex()).data());
}

// The type column edits with a drop-down of the five type names (PEQ .. HS), never "OFF".
class TypeDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* box = new QComboBox(parent);
    for (int code = 1; code <= 5; ++code) box->addItem(TypeName(code));
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    const int at = box->findText(index.data().toString());
    box->setCurrentIndex(at < 0 ? 0 : at);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText());
  }
};

}  // namespace

CBandList::CBandList(int controlId, QWidget* parent) : CReportCtrl(controlId, parent) {
  setItemDelegateForColumn(kTypeColumn, new TypeDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed);
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
    if (!filling_ && cell->column() >= kTypeColumn)
      emit cellEdited(cell->row(), cell->column(), cell->text());
  });
}

void CBandList::Rebuild(int bands) {
  filling_ = true;
  DeleteAll();
  InsertColumn(0, QString(), Qt::AlignCenter, 30);
  InsertColumn(kTypeColumn, LangText("类型", "Type"), Qt::AlignCenter, 55);
  InsertColumn(kGainColumn, LangText("增益", "Gain"), Qt::AlignCenter, 60);
  InsertColumn(kFrequencyColumn, LangText("频率", "Freq"), Qt::AlignCenter, 60);
  InsertColumn(kQColumn, LangText("Q值", "Q"), Qt::AlignCenter, 50);
  for (int row = 0; row < bands; ++row) {
    InsertRow(row, QString::number(row + 1));
    for (int column = kTypeColumn; column <= kQColumn; ++column) {
      item(row, column)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    }
  }
  filling_ = false;
}

void CBandList::ShowBand(int row, const vireo::dsp::BandShape& band) {
  using namespace vireo::tuning;
  filling_ = true;
  SetItemText(row, kTypeColumn, TypeName(band.type));
  SetItemText(row, kGainColumn, QString::fromStdString(BandGainText(band.gainDb)));
  SetItemText(row, kFrequencyColumn, QString::fromStdString(BandFrequencyText(band.frequency)));
  SetItemText(row, kQColumn, QString::fromStdString(BandQText(band.q)));
  filling_ = false;
}

vireo::dsp::BandShape CBandList::ReadRow(int row) const {
  using vireo::tuning::LenientDecimal;
  vireo::dsp::BandShape band;
  band.gainDb = LenientDecimal(GetItemText(row, kGainColumn).toStdString());
  band.frequency = LenientDecimal(GetItemText(row, kFrequencyColumn).toStdString());
  band.q = LenientDecimal(GetItemText(row, kQColumn).toStdString());
  return band;
}
