#include "organise/prompts/prompt_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>

#include <climits>
#include <new>

#include "app/run_host.h"
#include "organise/prompts/prompt_widgets.h"
#include "platform/error.h"
#include "platform/files.h"
#include "resize/jpeg_codec.h"

namespace orimo {

namespace {

constexpr int kClientWidth = 658;
constexpr int kClientHeight = 524;

QFont PromptFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// The extension of the last path component, lower-cased, as an image-format hint.
QByteArray FormatHint(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return QByteArray::fromStdString(path.substr(dot + 1)).toLower();
}

}  // namespace

QImage DecodeJpegPicture(const std::string& path) {
  const RgbImage decoded = DecodeJpegFile(path);
  const auto expected = static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 3;
  if (decoded.width <= 0 || decoded.height <= 0 || decoded.pixels.size() < expected) return {};
  const QImage view(decoded.pixels.data(), decoded.width, decoded.height, decoded.width * 3,
                    QImage::Format_RGB888);
  return view.copy();  // the decoded buffer goes once the box holds its own copy
}

QImage LoadBitmapPicture(const std::string& path) {
  // Read through the file layer so that any file name the file system gives can be opened.
  const std::optional<std::string> data = ReadWholeFile(path);
  if (!data) throw PlatformError(FormatMessage("ファイル %s は開けません", path));
  QImage picture;
  if (data->size() <= static_cast<std::size_t>(INT_MAX)) {
    const QByteArray hint = FormatHint(path);
    picture.loadFromData(reinterpret_cast<const uchar*>(data->data()), static_cast<int>(data->size()),
                         hint.isEmpty() ? nullptr : hint.constData());
  }
  if (picture.isNull()) throw PlatformError(FormatMessage("ファイル %s は画像として読めません", path));
  return picture;
}

PromptDialog::PromptDialog(RunFields& fields, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      fields_(fields) {
  // The box belongs to the main window, like any other error box: the prompt itself is not on
  // screen yet while it fills itself.
  reportError = [this](const std::string& text) {
    QMessageBox::critical(parentWidget(), QStringLiteral("Orimo"), QString::fromStdString(text));
  };
  setWindowTitle(caption);
  setFont(PromptFont(12, false));
  setFixedSize(kClientWidth, kClientHeight);
  setSizeGripEnabled(false);
}

void PromptDialog::Answer(int code) {
  fields_.PromptAnswer = code;
  done(QDialog::Accepted);  // the dialog's own result is not used
}

std::optional<QImage> PromptDialog::LoadPicture(PictureKind kind, const std::string& path) {
  try {
    return kind == PictureKind::Jpeg ? DecodeJpegPicture(path) : LoadBitmapPicture(path);
  } catch (const PlatformError& error) {
    if (reportError) reportError(error.what());
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    // A picture too large to hold must not end the run that asked.
    if (reportError) reportError(FormatMessage("ファイル %s は大きすぎて表示できません", path));
    return std::nullopt;
  }
}

void PromptDialog::PutPicture(QLabel* box, const std::optional<QImage>& picture) {
  if (!picture || picture->isNull()) {
    box->clear();
    return;
  }
  box->setPixmap(QPixmap::fromImage(
      picture->scaled(box->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

PromptPanel* PromptDialog::MakeBanner(const QString& text, const QColor& color, const QRect& geometry) {
  auto* panel = new PromptPanel(PromptPanel::Bevel::Raised, PromptPanel::Bevel::Lowered, this);
  panel->setGeometry(geometry);
  panel->setFont(PromptFont(19, true));
  panel->setFaceColor(color);
  panel->setTextColor(Qt::white);
  panel->setText(text);
  return panel;
}

PromptPanel* PromptDialog::MakeSunkenPanel(const QColor& face, const QRect& geometry) {
  auto* panel = new PromptPanel(PromptPanel::Bevel::Lowered, PromptPanel::Bevel::None, this);
  panel->setGeometry(geometry);
  panel->setFaceColor(face);
  return panel;
}

QLabel* PromptDialog::MakeTextLine(const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, this);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(geometry);
  return label;
}

QLabel* PromptDialog::MakePictureBox(const QRect& geometry) {
  auto* box = new QLabel(this);
  box->setGeometry(geometry);
  box->setScaledContents(true);
  return box;
}

PictureButton* PromptDialog::MakeButton(const QPixmap& picture, const QString& caption, const QRect& geometry) {
  auto* button = new PictureButton(picture, caption, this);
  button->setGeometry(geometry);
  return button;
}

void PromptDialog::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void PromptDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOnScreen();
  QWidget* focus = lastFocus_ ? lastFocus_.data() : firstFocus_;
  if (focus) focus->setFocus(Qt::OtherFocusReason);
  FormShow();
}

void PromptDialog::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) lastFocus_ = focusWidget();
  QDialog::hideEvent(event);
}

void PromptDialog::keyPressEvent(QKeyEvent* event) {
  // No cancel button: Esc leaves the dialog open.
  if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void PromptDialog::CentreOnScreen() {
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = frameGeometry();
  move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) + QPoint(1, 1));
}

}  // namespace orimo
