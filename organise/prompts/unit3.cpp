#include "organise/prompts/unit3.h"

#include <QLabel>

#include "app/run_host.h"
#include "organise/prompts/prompt_widgets.h"

namespace orimo {

namespace {

// The reason line for each stage at which reading the capture date stopped.
const char* ReasonLine(int stage) {
  switch (stage) {
    case 1: return "※　Exifキーワード未検出";
    case 2: return "※　[II]もしくは[MM]マーク未検出";
    case 3: return "※　[Exif-IFD0(main image)] 終端タグ未検出";
    case 4: return "※　[Exif-Sub-IFD] DateTimeOriginal(0x9003)未検出";
    default: return nullptr;
  }
}

}  // namespace

TForm3::TForm3(RunFields& fields, QWidget* parent)
    : PromptDialog(fields, QStringLiteral("Exif規格外ファイル検出"), parent) {
  Panel1 = MakeBanner(QStringLiteral("撮影日情報の取得に失敗しました！"), QColor(0xFF, 0x00, 0x00), {8, 8, 641, 41});
  Label1 = MakeTextLine(QStringLiteral("対象のファイルから撮影日情報の取得に失敗しました。"), {8, 56, 641, 12});
  Label2 = MakeTextLine(QStringLiteral("変更を継続しますか？"), {8, 80, 641, 12});
  Panel3 = MakeSunkenPanel(Qt::white, {8, 104, 641, 25});
  Panel2 = MakeSunkenPanel(palette().color(QPalette::ButtonText), {8, 136, 641, 33});
  QFont reasonFont = font();
  reasonFont.setPixelSize(16);
  reasonFont.setBold(true);
  Panel2->setFont(reasonFont);
  Panel2->setTextColor(QColor(0xFF, 0xFF, 0x00));
  Image1 = MakePictureBox({160, 184, 320, 240});

  BitBtn1 = MakeButton(ProhibitionPicture(), QStringLiteral("中止"), {8, 464, 160, 50});
  BitBtn2 = MakeButton(GearPicture(), QStringLiteral("継続（コピーしない）"), {168, 464, 160, 50});
  BitBtn3 = MakeButton(TrianglePicture(), QStringLiteral("以降、検出しても継続"), {328, 464, 160, 50});
  BitBtn4 = MakeButton(FloppyOnHandPicture(), QStringLiteral("Exif規格外フォルダへコピー"), {488, 464, 160, 50});
  setTabOrder(BitBtn1, BitBtn2);
  setTabOrder(BitBtn2, BitBtn3);
  setTabOrder(BitBtn3, BitBtn4);
  firstFocus_ = BitBtn1;

  connect(BitBtn1, &QPushButton::clicked, this, &TForm3::Action1Execute);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm3::Action2Execute);
  connect(BitBtn3, &QPushButton::clicked, this, &TForm3::Action3Execute);
  connect(BitBtn4, &QPushButton::clicked, this, &TForm3::Action4Execute);
}

void TForm3::Action1Execute() { Answer(AnswerAbort); }
void TForm3::Action2Execute() { Answer(AnswerSkip); }
void TForm3::Action3Execute() { Answer(AnswerContinueAlways); }
void TForm3::Action4Execute() { Answer(AnswerToSideFolder); }

void TForm3::FormShow() {
  fields_.PromptAnswer = AnswerSkip;  // what closing without a button answers
  if (fields_.CurrentExt == ".jpg") {
    PutPicture(Image1, LoadPicture(PictureKind::Jpeg, fields_.SourceFile));
  } else if (fields_.CurrentExt == ".bmp") {
    PutPicture(Image1, LoadPicture(PictureKind::Bitmap, fields_.SourceFile));
  } else {
    PutPicture(Image1, LoadPicture(PictureKind::Bitmap, kPlaceholderPicture));
  }
  Panel3->setText(QString::fromStdString(fields_.SourceFile));  // always centred
  // A stage outside the table leaves the previous showing's line.
  if (const char* reason = ReasonLine(fields_.ExifFailStage)) Panel2->setText(QString::fromUtf8(reason));
  ProcessPendingEvents();
}

}  // namespace orimo
