#pragma once

#include <QDialog>

namespace orimo {

struct RunFields;

// The non-EXIF prompt "Exif規格外ファイル検出".
class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(RunFields& fields, QWidget* parent = nullptr);

 private:
  RunFields& fields_;
};

}  // namespace orimo
