#pragma once

#include "organise/prompts/prompt_dialog.h"

class QLabel;

namespace orimo {

struct RunFields;
class PictureButton;
class PromptPanel;

// The non-EXIF prompt "Exif規格外ファイル検出": the file whose capture date could not be read
// and the stage at which reading stopped. Created once, shown with exec() for every failure;
// the answer is left in RunFields::PromptAnswer.
class TForm3 : public PromptDialog {
  Q_OBJECT
 public:
  explicit TForm3(RunFields& fields, QWidget* parent = nullptr);

  PromptPanel* Panel1;  // banner
  QLabel* Label1;
  QLabel* Label2;
  PromptPanel* Panel3;  // SourceFile
  PromptPanel* Panel2;  // reason line
  QLabel* Image1;       // picture of SourceFile
  PictureButton* BitBtn1;  // 中止
  PictureButton* BitBtn2;  // 継続（コピーしない）
  PictureButton* BitBtn3;  // 以降、検出しても継続
  PictureButton* BitBtn4;  // Exif規格外フォルダへコピー

  void Action1Execute();
  void Action2Execute();
  void Action3Execute();
  void Action4Execute();

 protected:
  void FormShow() override;
};

}  // namespace orimo
