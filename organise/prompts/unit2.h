#pragma once

#include <QDialog>

namespace orimo {

struct RunFields;

// The duplicate-name prompt "ファイル重複検出".
class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(RunFields& fields, QWidget* parent = nullptr);

 private:
  RunFields& fields_;
};

}  // namespace orimo
