#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QLabel;

namespace orimo {

struct RunFields;
class PictureButton;
class PromptPanel;

// The placeholder shown for video files, opened by its bare name from the current directory.
inline constexpr const char* kPlaceholderPicture = "douga.bmp";

// What the two organise prompts share: the fixed frame and font, the default answer, buttons
// that store their code and close, Esc that does nothing, the focus kept between openings, and
// picture loading with the failure reported in an error box.
class PromptDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the error box for a picture that could not be loaded (caption "Orimo"). The dialog
  // goes on filling itself afterwards. Tests put a recorder here.
  std::function<void(const std::string& text)> reportError;

 protected:
  PromptDialog(RunFields& fields, const QString& caption, QWidget* parent);

  // Fills the dialog from the fields; runs on every showing.
  virtual void FormShow() = 0;

  // A button's handler: store the answer, close.
  void Answer(int code);

  enum class PictureKind { Jpeg, Bitmap };
  // The picture of `path`, or nothing after reporting why it cannot be shown.
  std::optional<QImage> LoadPicture(PictureKind kind, const std::string& path);
  // Stretches the picture over the whole box; a failed load clears the box, so a picture of
  // an earlier prompt never stands beside this prompt's paths.
  static void PutPicture(QLabel* box, const std::optional<QImage>& picture);

  PromptPanel* MakeBanner(const QString& text, const QColor& color, const QRect& geometry);
  PromptPanel* MakeSunkenPanel(const QColor& face, const QRect& geometry);
  QLabel* MakeTextLine(const QString& text, const QRect& geometry);
  QLabel* MakePictureBox(const QRect& geometry);
  PictureButton* MakeButton(const QPixmap& picture, const QString& caption, const QRect& geometry);
  // Processes the waiting events once, as the end of FormShow.
  static void ProcessPendingEvents();

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  RunFields& fields_;
  QWidget* firstFocus_ = nullptr;  // the first button of the tab order

 private:
  void CentreOnScreen();

  QPointer<QWidget> lastFocus_;
};

// Decoders behind LoadPicture; both raise PlatformError with the text for the error box.
QImage DecodeJpegPicture(const std::string& path);
QImage LoadBitmapPicture(const std::string& path);

}  // namespace orimo
