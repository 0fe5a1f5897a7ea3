// The two small windows of measurement-driven tuning: which target the EQ is tuned to, and how the fit
// may use the bands.
#pragma once

#include <QDialog>

#include "pages/eq_measurement.h"

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CEqTargetDlg : public QDialog {
  Q_OBJECT
 public:
  CEqTargetDlg(const EqTargetChoice& choice, QWidget* parent);
  EqTargetChoice choice() const;

  QRadioButton* flatButton() const { return flat_; }
  QRadioButton* roomButton() const { return room_; }
  QRadioButton* fileButton() const { return file_; }
  QDoubleSpinBox* tiltBox() const { return tilt_; }
  QDoubleSpinBox* bassBox() const { return bass_; }
  QLineEdit* pathEdit() const { return path_; }
  QPushButton* okButton() const { return ok_; }

 private:
  void Enable();
  QRadioButton* flat_;
  QRadioButton* room_;
  QRadioButton* file_;
  QDoubleSpinBox* tilt_;
  QDoubleSpinBox* bass_;
  QLineEdit* path_;
  QPushButton* browse_;
  QPushButton* ok_;
};

class CEqFitDlg : public QDialog {
  Q_OBJECT
 public:
  // `freeBands`: the most bands the fit may use on this equaliser.
  CEqFitDlg(const EqFitChoice& choice, int freeBands, QWidget* parent);
  EqFitChoice choice() const;

  QSpinBox* bandsBox() const { return bands_; }
  QSpinBox* fromBox() const { return from_; }
  QSpinBox* toBox() const { return to_; }
  QDoubleSpinBox* boostBox() const { return boost_; }
  QCheckBox* shelvesBox() const { return shelves_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QSpinBox* bands_;
  QSpinBox* from_;
  QSpinBox* to_;
  QDoubleSpinBox* boost_;
  QCheckBox* shelves_;
  QPushButton* ok_;
};
