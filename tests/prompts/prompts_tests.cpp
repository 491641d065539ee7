#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/run_host.h"
#include "organise/prompts/prompt_widgets.h"
#include "organise/prompts/unit2.h"
#include "organise/prompts/unit3.h"
#include "platform/error.h"
#include "platform/files.h"
#include "resize/jpeg_codec.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::TempDir;
using test::WriteFile;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "prompts_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// Runs `act` once the dialog's own modal loop runs (not while it fills itself), and returns
// when exec() has ended. `act` has to close the dialog.
void ExecWhileOpen(QDialog& dialog, const std::function<void()>& act) {
  bool acted = false;
  std::function<void()> attempt = [&] {
    if (QApplication::activeModalWidget() != &dialog) {
      QTimer::singleShot(0, attempt);
      return;
    }
    acted = true;
    act();
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the dialog stayed open";
      dialog.done(0);
    }
  };
  QTimer::singleShot(0, attempt);
  dialog.exec();
  EXPECT_TRUE(acted);
  EXPECT_FALSE(dialog.isVisible());
}

// Fills the dialog as a showing does, without the modal loop.
void ShowOnce(QDialog& dialog) {
  dialog.show();
  dialog.hide();
}

void WriteBitmap(const std::string& path, int width, int height, QColor colour) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
}

// A JPEG whose first half (left, or top when `splitRows`) is red and the rest blue.
void WriteTwoToneJpeg(const std::string& path, int width, int height, bool splitRows) {
  RgbImage image{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width * height * 3))};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool first = splitRows ? y < height / 2 : x < width / 2;
      unsigned char* p = &image.pixels[static_cast<std::size_t>((y * width + x) * 3)];
      p[0] = first ? 255 : 0;
      p[2] = first ? 0 : 255;
    }
  }
  WriteFile(path, EncodeJpeg(image, 95));
}

bool IsReddish(QColor c) { return c.red() > 200 && c.blue() < 60; }
bool IsBluish(QColor c) { return c.blue() > 200 && c.red() < 60; }
QColor PixelAt(const QLabel* box, int x, int y) { return box->pixmap().toImage().pixelColor(x, y); }

// Every test runs in a fresh current directory, so "douga.bmp" is there only when written.
class PromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    previousDir_ = CurrentDirectory();
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override { ASSERT_EQ(chdir(previousDir_.c_str()), 0); }

  template <class Dialog>
  void Record(Dialog& dialog) {
    dialog.reportError = [this](const std::string& text) { errors_.push_back(text); };
  }

  TempDir dir_;
  RunFields fields_;
  std::vector<std::string> errors_;

 private:
  std::string previousDir_;
};

TEST_F(PromptsTest, DuplicateButtonsStoreTheirCodesAndClose) {
  struct Case {
    const char* caption;
    PictureButton* TForm2::*button;
    int code;
  };
  const Case kCases[] = {
      {"中止", &TForm2::BitBtn1, AnswerAbort},
      {"継続（コピーしない）", &TForm2::BitBtn2, AnswerSkip},
      {"以降、重複しても継続", &TForm2::BitBtn3, AnswerContinueAlways},
      {"再確認フォルダへコピー", &TForm2::BitBtn4, AnswerToSideFolder},
      {"継続（今回のみ上書き）", &TForm2::BitBtn5, AnswerOverwriteOnce},
  };
  TForm2 dialog(fields_);  // one instance for every prompt, as the window keeps it
  Record(dialog);
  fields_.CurrentExt = ".mov";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    PictureButton* button = dialog.*c.button;
    EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
    ExecWhileOpen(dialog, [&] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(fields_.PromptAnswer, c.code);
  }
}

TEST_F(PromptsTest, NonExifButtonsStoreTheirCodesAndClose) {
  struct Case {
    const char* caption;
    PictureButton* TForm3::*button;
    int code;
  };
  const Case kCases[] = {
      {"中止", &TForm3::BitBtn1, AnswerAbort},
      {"継続（コピーしない）", &TForm3::BitBtn2, AnswerSkip},
      {"以降、検出しても継続", &TForm3::BitBtn3, AnswerContinueAlways},
      {"Exif規格外フォルダへコピー", &TForm3::BitBtn4, AnswerToSideFolder},
  };
  TForm3 dialog(fields_);
  Record(dialog);
  fields_.CurrentExt = ".mov";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    PictureButton* button = dialog.*c.button;
    EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
    ExecWhileOpen(dialog, [&] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(fields_.PromptAnswer, c.code);
  }
}

// Captions of the buttons as they stand left to right, and the focus order of Tab from the first.
template <class Dialog>
void CheckButtonOrder(Dialog& dialog, const std::vector<PictureButton*>& tabOrder,
                      const std::vector<const char*>& leftToRight) {
  std::vector<PictureButton*> byPosition = tabOrder;
  std::sort(byPosition.begin(), byPosition.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
  ASSERT_EQ(byPosition.size(), leftToRight.size());
  for (std::size_t i = 0; i < byPosition.size(); ++i) EXPECT_EQ(byPosition[i]->text(), QString::fromUtf8(leftToRight[i]));

  ExecWhileOpen(dialog, [&] {
    EXPECT_EQ(dialog.focusWidget(), tabOrder.front()) << "first opening starts on 中止";
    for (std::size_t i = 1; i <= tabOrder.size(); ++i) {
      QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(dialog.focusWidget(), tabOrder[i % tabOrder.size()]) << "after " << i << " Tab";
    }
    dialog.close();
  });
}

TEST_F(PromptsTest, ButtonsStandInOrderAndTabGoesThroughThemOnly) {
  fields_.CurrentExt = ".mov";
  {
    TForm2 dialog(fields_);
    Record(dialog);
    CheckButtonOrder(dialog, {dialog.BitBtn1, dialog.BitBtn2, dialog.BitBtn3, dialog.BitBtn4, dialog.BitBtn5},
                     {"中止", "継続（今回のみ上書き）", "継続（コピーしない）", "以降、重複しても継続", "再確認フォルダへコピー"});
  }
  {
    TForm3 dialog(fields_);
    Record(dialog);
    CheckButtonOrder(dialog, {dialog.BitBtn1, dialog.BitBtn2, dialog.BitBtn3, dialog.BitBtn4},
                     {"中止", "継続（コピーしない）", "以降、検出しても継続", "Exif規格外フォルダへコピー"});
  }
}

// The face's kana are wider than the designed face's: the longer captions must still show whole,
// at the designed height, inside the designed buttons.
TEST_F(PromptsTest, EveryCaptionFitsItsButton) {
  fields_.CurrentExt = ".mov";
  TForm2 duplicate(fields_);
  TForm3 nonExif(fields_);
  const std::vector<PictureButton*> buttons = {duplicate.BitBtn1, duplicate.BitBtn2, duplicate.BitBtn3,
                                               duplicate.BitBtn4, duplicate.BitBtn5, nonExif.BitBtn1,
                                               nonExif.BitBtn2,   nonExif.BitBtn3,   nonExif.BitBtn4};
  for (PictureButton* button : buttons) {
    SCOPED_TRACE(button->text().toStdString());
    const QFont caption = button->CaptionFont();
    EXPECT_LE(QFontMetrics(caption).horizontalAdvance(button->text()), button->width() - 6);
    EXPECT_EQ(caption.pixelSize(), 12);
    // A caption that fits keeps the face as it is.
    if (QFontMetrics(button->font()).horizontalAdvance(button->text()) <= button->width() - 6) {
      EXPECT_EQ(caption, button->font());
    }
  }
}

// Each showing answers Skip until a button says otherwise; the close box keeps that answer.
template <class Dialog>
void CheckDefaultAnswer(Dialog& dialog, RunFields& fields) {
  fields.PromptAnswer = AnswerAbort;
  ExecWhileOpen(dialog, [&] {
    EXPECT_EQ(fields.PromptAnswer, AnswerSkip);
    QTest::mouseClick(dialog.BitBtn4, Qt::LeftButton);
  });
  EXPECT_EQ(fields.PromptAnswer, AnswerToSideFolder);
  ExecWhileOpen(dialog, [&] {
    EXPECT_EQ(fields.PromptAnswer, AnswerSkip) << "the second showing starts from Skip again";
    dialog.close();  // the title-bar close box
  });
  EXPECT_EQ(fields.PromptAnswer, AnswerSkip);
}

TEST_F(PromptsTest, EveryShowingAnswersSkipAndTheCloseBoxKeepsIt) {
  fields_.CurrentExt = ".mov";
  TForm2 duplicate(fields_);
  Record(duplicate);
  CheckDefaultAnswer(duplicate, fields_);
  TForm3 nonExif(fields_);
  Record(nonExif);
  CheckDefaultAnswer(nonExif, fields_);
}

TEST_F(PromptsTest, KeysPressOnlyTheFocusedButtonAndEscDoesNothing) {
  struct Case {
    const char* name;
    PictureButton* TForm2::*focus;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int code;  // -1: the dialog stays open
  };
  const Case kCases[] = {
      {"Esc", &TForm2::BitBtn2, Qt::Key_Escape, Qt::NoModifier, -1},
      {"Return on 中止", &TForm2::BitBtn1, Qt::Key_Return, Qt::NoModifier, AnswerAbort},
      {"Return on 以降", &TForm2::BitBtn3, Qt::Key_Return, Qt::NoModifier, AnswerContinueAlways},
      {"keypad Enter on 上書き", &TForm2::BitBtn5, Qt::Key_Enter, Qt::KeypadModifier, AnswerOverwriteOnce},
      {"Space on 再確認", &TForm2::BitBtn4, Qt::Key_Space, Qt::NoModifier, AnswerToSideFolder},
  };
  TForm2 dialog(fields_);
  Record(dialog);
  fields_.CurrentExt = ".mov";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ExecWhileOpen(dialog, [&] {
      (dialog.*c.focus)->setFocus();
      QTest::keyClick(dialog.focusWidget(), c.key, c.modifiers);
      if (c.code < 0) {
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, c.key, c.modifiers);  // at the dialog itself too
        EXPECT_TRUE(dialog.isVisible());
        dialog.close();
      }
    });
    EXPECT_EQ(fields_.PromptAnswer, c.code < 0 ? AnswerSkip : c.code);
  }

  TForm3 nonExif(fields_);
  Record(nonExif);
  ExecWhileOpen(nonExif, [&] {
    QTest::keyClick(nonExif.focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(nonExif.isVisible());
    nonExif.close();
  });
}

TEST_F(PromptsTest, ReopeningKeepsTheFocusWhereItWasLeft) {
  fields_.CurrentExt = ".mov";
  TForm3 dialog(fields_);
  Record(dialog);
  ExecWhileOpen(dialog, [&] {
    EXPECT_EQ(dialog.focusWidget(), dialog.BitBtn1);
    dialog.BitBtn3->setFocus();
    dialog.close();
  });
  ExecWhileOpen(dialog, [&] {
    EXPECT_EQ(dialog.focusWidget(), dialog.BitBtn3);
    dialog.close();
  });
}

TEST_F(PromptsTest, DuplicatePathsRightAlignFrom48Cp932Bytes) {
  struct Case {
    const char* name;
    std::string path;
    bool right;
  };
  std::string kanji;
  for (int i = 0; i < 14; ++i) kanji += "写";  // 14 double-byte characters, 28 bytes
  const Case kCases[] = {
      {"empty", "", false},
      {"47 single-byte", "/" + std::string(46, 'a'), false},
      {"48 single-byte", "/" + std::string(47, 'a'), true},
      {"19 single-byte + 14 double-byte = 47", std::string(19, 'b') + kanji, false},
      {"20 single-byte + 14 double-byte = 48", std::string(20, 'b') + kanji, true},
      {"long", "/home/user/写真/2010年03月/" + std::string(80, 'c') + ".jpg", true},
  };
  TForm2 dialog(fields_);
  Record(dialog);
  fields_.CurrentExt = ".mov";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    // Each side on its own: a long path on one side does not move the other.
    fields_.SourceFile = c.path;
    fields_.TargetFile = "/t.jpg";
    ShowOnce(dialog);
    EXPECT_EQ(dialog.Panel2->text(), QString::fromStdString(c.path));
    EXPECT_EQ(dialog.Panel2->alignment(), c.right ? Qt::AlignRight : Qt::AlignHCenter);
    EXPECT_EQ(dialog.Panel3->alignment(), Qt::AlignHCenter);
    fields_.SourceFile = "/s.jpg";
    fields_.TargetFile = c.path;
    ShowOnce(dialog);
    EXPECT_EQ(dialog.Panel3->text(), QString::fromStdString(c.path));
    EXPECT_EQ(dialog.Panel3->alignment(), c.right ? Qt::AlignRight : Qt::AlignHCenter);
    EXPECT_EQ(dialog.Panel2->alignment(), Qt::AlignHCenter);
  }
}

TEST_F(PromptsTest, NonExifPathIsAlwaysCentred) {
  TForm3 dialog(fields_);
  Record(dialog);
  fields_.CurrentExt = ".mov";
  fields_.SourceFile = "/home/user/写真/" + std::string(120, 'a') + ".jpg";
  ShowOnce(dialog);
  EXPECT_EQ(dialog.Panel3->text(), QString::fromStdString(fields_.SourceFile));
  EXPECT_EQ(dialog.Panel3->alignment(), Qt::AlignHCenter);
}

TEST_F(PromptsTest, ReasonLineFollowsTheStageAndStaysForOtherValues) {
  struct Case {
    int stage;
    const char* line;
  };
  const Case kCases[] = {
      {0, ""},  // never set yet
      {1, "※　Exifキーワード未検出"},
      {2, "※　[II]もしくは[MM]マーク未検出"},
      {3, "※　[Exif-IFD0(main image)] 終端タグ未検出"},
      {4, "※　[Exif-Sub-IFD] DateTimeOriginal(0x9003)未検出"},
      {0, "※　[Exif-Sub-IFD] DateTimeOriginal(0x9003)未検出"},
      {2, "※　[II]もしくは[MM]マーク未検出"},
      {5, "※　[II]もしくは[MM]マーク未検出"},
      {-1, "※　[II]もしくは[MM]マーク未検出"},
  };
  TForm3 dialog(fields_);
  Record(dialog);
  fields_.CurrentExt = ".mov";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.stage);
    fields_.ExifFailStage = c.stage;
    ShowOnce(dialog);
    EXPECT_EQ(dialog.Panel2->text(), QString::fromUtf8(c.line));
  }
}

TEST_F(PromptsTest, VideoTypesShowThePlaceholderInEveryBox) {
  WriteBitmap(dir_ / "douga.bmp", 8, 4, Qt::green);
  TForm2 duplicate(fields_);
  TForm3 nonExif(fields_);
  Record(duplicate);
  Record(nonExif);
  for (const char* ext : {".mov", ".avi", ".mp4", ".3g2"}) {
    SCOPED_TRACE(ext);
    // The video files themselves are JPEG data, which must never be shown.
    fields_.CurrentExt = ext;
    fields_.SourceFile = dir_ / (std::string("src") + ext);
    fields_.TargetFile = dir_ / (std::string("dst") + ext);
    WriteTwoToneJpeg(fields_.SourceFile, 16, 16, false);
    WriteTwoToneJpeg(fields_.TargetFile, 16, 16, false);
    ShowOnce(duplicate);
    ShowOnce(nonExif);
    for (const QLabel* box : {duplicate.Image1, duplicate.Image2, nonExif.Image1}) {
      ASSERT_FALSE(box->pixmap().isNull());
      EXPECT_EQ(box->pixmap().size(), box->size());
      EXPECT_EQ(PixelAt(box, 5, 5), QColor(Qt::green));
    }
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PromptsTest, MissingPlaceholderIsReportedAndTheDialogStillAnswers) {
  WriteBitmap(dir_ / "douga.bmp", 8, 4, Qt::green);
  fields_.CurrentExt = ".mp4";
  fields_.SourceFile = dir_ / "MOV_0001.mp4";
  fields_.TargetFile = dir_ / "2010年03月/20100312_061919.mp4";
  fields_.ExifFailStage = 3;
  TForm2 duplicate(fields_);
  TForm3 nonExif(fields_);
  Record(duplicate);
  Record(nonExif);
  ShowOnce(duplicate);
  ShowOnce(nonExif);
  ASSERT_TRUE(errors_.empty());
  ASSERT_TRUE(DeleteFile(dir_ / "douga.bmp"));

  ExecWhileOpen(duplicate, [&] {
    EXPECT_EQ(fields_.PromptAnswer, AnswerSkip);
    QTest::mouseClick(duplicate.BitBtn3, Qt::LeftButton);
  });
  EXPECT_EQ(fields_.PromptAnswer, AnswerContinueAlways);
  ASSERT_EQ(errors_.size(), 1u) << "one placeholder, one error box";
  EXPECT_EQ(errors_[0], "ファイル douga.bmp は開けません");
  // The earlier prompt's picture is gone; the rest is filled in all the same.
  EXPECT_TRUE(duplicate.Image1->pixmap().isNull());
  EXPECT_TRUE(duplicate.Image2->pixmap().isNull());
  EXPECT_EQ(duplicate.Panel3->text(), QString::fromStdString(fields_.TargetFile));

  fields_.ExifFailStage = 1;
  ExecWhileOpen(nonExif, [&] { QTest::mouseClick(nonExif.BitBtn1, Qt::LeftButton); });
  EXPECT_EQ(fields_.PromptAnswer, AnswerAbort);
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[1], "ファイル douga.bmp は開けません");
  EXPECT_TRUE(nonExif.Image1->pixmap().isNull());
  EXPECT_EQ(nonExif.Panel2->text(), QStringLiteral("※　Exifキーワード未検出"));
}

TEST_F(PromptsTest, DamagedJpegIsReportedAndTheOtherSideStillShows) {
  fields_.CurrentExt = ".jpg";
  fields_.SourceFile = dir_ / "IMG_0001.JPG";
  fields_.TargetFile = dir_ / "20100312_061919.jpg";
  WriteFile(fields_.SourceFile, "this is not a JPEG file at all");
  WriteTwoToneJpeg(fields_.TargetFile, 32, 16, false);
  TForm2 dialog(fields_);
  Record(dialog);
  ExecWhileOpen(dialog, [&] { QTest::mouseClick(dialog.BitBtn5, Qt::LeftButton); });
  EXPECT_EQ(fields_.PromptAnswer, AnswerOverwriteOnce);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].rfind("JPEG エラー #", 0), 0u) << errors_[0];
  EXPECT_TRUE(dialog.Image1->pixmap().isNull());
  EXPECT_EQ(dialog.Image2->pixmap().size(), dialog.Image2->size());
  EXPECT_EQ(dialog.Panel2->text(), QString::fromStdString(fields_.SourceFile));
  EXPECT_EQ(dialog.Panel3->text(), QString::fromStdString(fields_.TargetFile));
}

TEST_F(PromptsTest, UnreadableTargetIsReportedWithItsOwnText) {
  // The right-hand picture fails (a copy that failed for another reason leaves no file there);
  // the left one still shows and the dialog still answers.
  struct Case {
    const char* ext;
    const char* target;  // nullptr: no file
    const char* error;
  };
  const Case kCases[] = {
      {".jpg", nullptr, "ファイル %s は開けません"},
      {".bmp", nullptr, "ファイル %s は開けません"},
      {".bmp", "BM not really a bitmap", "ファイル %s は画像として読めません"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.ext) + (c.target ? " damaged" : " missing"));
    errors_.clear();
    fields_.CurrentExt = c.ext;
    fields_.SourceFile = dir_ / (std::string("source") + c.ext);
    fields_.TargetFile = dir_ / (std::string("target") + c.ext);
    if (std::string(c.ext) == ".jpg") WriteTwoToneJpeg(fields_.SourceFile, 16, 16, false);
    else WriteBitmap(fields_.SourceFile, 16, 16, Qt::red);
    DeleteFile(fields_.TargetFile);
    if (c.target) WriteFile(fields_.TargetFile, c.target);
    TForm2 dialog(fields_);
    Record(dialog);
    ExecWhileOpen(dialog, [&] { dialog.close(); });
    EXPECT_EQ(fields_.PromptAnswer, AnswerSkip);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], FormatMessage(c.error, fields_.TargetFile));
    EXPECT_FALSE(dialog.Image1->pixmap().isNull());
    EXPECT_TRUE(dialog.Image2->pixmap().isNull());
  }
}

TEST_F(PromptsTest, PicturesAreStretchedOverTheirBoxes) {
  // A landscape picture into TForm2's portrait boxes and a portrait one into TForm3's landscape
  // box: each fills its box, the colour halves keeping their sides.
  WriteTwoToneJpeg(dir_ / "landscape.jpg", 64, 32, false);
  WriteTwoToneJpeg(dir_ / "portrait.jpg", 32, 64, true);
  WriteBitmap(dir_ / "wide.bmp", 40, 10, Qt::blue);

  fields_.CurrentExt = ".jpg";
  fields_.SourceFile = dir_ / "landscape.jpg";
  fields_.TargetFile = dir_ / "landscape.jpg";
  TForm2 duplicate(fields_);
  Record(duplicate);
  ShowOnce(duplicate);
  for (const QLabel* box : {duplicate.Image1, duplicate.Image2}) {
    EXPECT_EQ(box->size(), QSize(240, 320));
    EXPECT_EQ(box->pixmap().size(), QSize(240, 320));
    EXPECT_TRUE(IsReddish(PixelAt(box, 10, 5)));     // left edge, near the top: no letter-box
    EXPECT_TRUE(IsBluish(PixelAt(box, 230, 315)));
  }

  fields_.SourceFile = dir_ / "portrait.jpg";
  TForm3 nonExif(fields_);
  Record(nonExif);
  ShowOnce(nonExif);
  EXPECT_EQ(nonExif.Image1->size(), QSize(320, 240));
  EXPECT_EQ(nonExif.Image1->pixmap().size(), QSize(320, 240));
  EXPECT_TRUE(IsReddish(PixelAt(nonExif.Image1, 3, 10)));
  EXPECT_TRUE(IsBluish(PixelAt(nonExif.Image1, 316, 230)));

  fields_.CurrentExt = ".bmp";
  fields_.SourceFile = dir_ / "wide.bmp";
  ShowOnce(nonExif);
  EXPECT_EQ(nonExif.Image1->pixmap().size(), QSize(320, 240));
  EXPECT_EQ(PixelAt(nonExif.Image1, 160, 5), QColor(Qt::blue));
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace orimo
