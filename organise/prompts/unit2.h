#pragma once

#include "organise/prompts/prompt_dialog.h"

class QLabel;

namespace orimo {

struct RunFields;
class PictureButton;
class PromptPanel;

// The duplicate-name prompt "ファイル重複検出": the file being organised beside the file that
// holds its date name. Created once, shown with exec() for every clash; the answer is left in
// RunFields::PromptAnswer.
class TForm2 : public PromptDialog {
  Q_OBJECT
 public:
  explicit TForm2(RunFields& fields, QWidget* parent = nullptr);

  // Paths at least this many CP932 bytes long are right-aligned so their file names show.
  static constexpr std::size_t kRightAlignBytes = 48;

  PromptPanel* Panel1;  // banner
  QLabel* Label1;
  QLabel* Label2;
  PromptPanel* Panel2;  // SourceFile
  PromptPanel* Panel3;  // TargetFile
  QLabel* Image1;       // picture of SourceFile
  QLabel* Image2;       // picture of TargetFile
  PictureButton* BitBtn1;  // 中止
  PictureButton* BitBtn2;  // 継続（コピーしない）
  PictureButton* BitBtn3;  // 以降、重複しても継続
  PictureButton* BitBtn4;  // 再確認フォルダへコピー
  PictureButton* BitBtn5;  // 継続（今回のみ上書き）

  void Action1Execute();
  void Action2Execute();
  void Action3Execute();
  void Action4Execute();
  void Action5Execute();

 protected:
  void FormShow() override;
};

}  // namespace orimo
