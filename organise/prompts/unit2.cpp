#include "organise/prompts/unit2.h"

#include <QLabel>

#include "app/run_host.h"
#include "organise/prompts/prompt_widgets.h"
#include "platform/cp932.h"

namespace orimo {

namespace {

void ShowPath(PromptPanel* panel, const std::string& path) {
  panel->setText(QString::fromStdString(path));
  panel->setAlignment(Cp932Length(path) >= TForm2::kRightAlignBytes ? Qt::AlignRight : Qt::AlignHCenter);
}

}  // namespace

TForm2::TForm2(RunFields& fields, QWidget* parent)
    : PromptDialog(fields, QStringLiteral("ファイル重複検出"), parent) {
  Panel1 = MakeBanner(QStringLiteral("ファイル名の重複を検出しました！"), QColor(0x00, 0x00, 0xFF), {8, 8, 641, 41});
  Label1 = MakeTextLine(
      QStringLiteral("変更しようとしたファイル名（撮影日）と同一名称のファイルが既に整理先に存在します。"),
      {8, 56, 641, 12});
  Label2 = MakeTextLine(QStringLiteral("変更を継続しますか？"), {8, 80, 641, 12});
  Panel2 = MakeSunkenPanel(Qt::white, {8, 104, 289, 25});
  Panel3 = MakeSunkenPanel(palette().color(QPalette::HighlightedText), {352, 104, 292, 25});
  Image1 = MakePictureBox({32, 136, 240, 320});
  Image2 = MakePictureBox({376, 136, 240, 320});

  // Left to right: stop, overwrite once, skip, go on always, copy to the recheck folder.
  BitBtn1 = MakeButton(ProhibitionPicture(), QStringLiteral("中止"), {8, 464, 128, 50});
  BitBtn5 = MakeButton(GearPicture(), QStringLiteral("継続（今回のみ上書き）"), {136, 464, 128, 50});
  BitBtn2 = MakeButton(GearPicture(), QStringLiteral("継続（コピーしない）"), {264, 464, 128, 50});
  BitBtn3 = MakeButton(TrianglePicture(), QStringLiteral("以降、重複しても継続"), {392, 464, 128, 50});
  BitBtn4 = MakeButton(FloppyOnHandPicture(), QStringLiteral("再確認フォルダへコピー"), {520, 464, 128, 50});
  setTabOrder(BitBtn1, BitBtn2);
  setTabOrder(BitBtn2, BitBtn3);
  setTabOrder(BitBtn3, BitBtn4);
  setTabOrder(BitBtn4, BitBtn5);
  firstFocus_ = BitBtn1;

  connect(BitBtn1, &QPushButton::clicked, this, &TForm2::Action1Execute);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm2::Action2Execute);
  connect(BitBtn3, &QPushButton::clicked, this, &TForm2::Action3Execute);
  connect(BitBtn4, &QPushButton::clicked, this, &TForm2::Action4Execute);
  connect(BitBtn5, &QPushButton::clicked, this, &TForm2::Action5Execute);
}

void TForm2::Action1Execute() { Answer(AnswerAbort); }
void TForm2::Action2Execute() { Answer(AnswerSkip); }
void TForm2::Action3Execute() { Answer(AnswerContinueAlways); }
void TForm2::Action4Execute() { Answer(AnswerToSideFolder); }
void TForm2::Action5Execute() { Answer(AnswerOverwriteOnce); }

void TForm2::FormShow() {
  fields_.PromptAnswer = AnswerSkip;  // what closing without a button answers
  if (fields_.CurrentExt == ".jpg") {
    // The JPEG decoder whatever the names end in: the run's type decides.
    PutPicture(Image1, LoadPicture(PictureKind::Jpeg, fields_.SourceFile));
    PutPicture(Image2, LoadPicture(PictureKind::Jpeg, fields_.TargetFile));
  } else if (fields_.CurrentExt == ".bmp") {
    PutPicture(Image1, LoadPicture(PictureKind::Bitmap, fields_.SourceFile));
    PutPicture(Image2, LoadPicture(PictureKind::Bitmap, fields_.TargetFile));
  } else {
    // Videos are never opened; one placeholder (and at most one error box) serves both sides.
    const std::optional<QImage> placeholder = LoadPicture(PictureKind::Bitmap, kPlaceholderPicture);
    PutPicture(Image1, placeholder);
    PutPicture(Image2, placeholder);
  }
  ShowPath(Panel2, fields_.SourceFile);
  ShowPath(Panel3, fields_.TargetFile);
  ProcessPendingEvents();
}

}  // namespace orimo
