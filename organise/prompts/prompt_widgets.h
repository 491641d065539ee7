#pragma once

#include <QColor>
#include <QPushButton>
#include <QString>
#include <QWidget>

class QPixmap;

namespace orimo {

// A caption panel in the classic look: an outer and an inner one-pixel bevel around a filled
// face, the caption on one line, vertically centred and clipped to the face.
class PromptPanel : public QWidget {
  Q_OBJECT
 public:
  enum class Bevel { None, Raised, Lowered };

  PromptPanel(Bevel outer, Bevel inner, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);
  // Horizontal alignment of the caption (Qt::AlignLeft, AlignHCenter, AlignRight).
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment alignment);
  void setFaceColor(const QColor& color);
  void setTextColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Bevel outer_;
  Bevel inner_;
  QString text_;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  QColor face_;
  QColor textColor_;
};

// A push button with a 16 x 16 picture above its caption. It is never a default button: Enter
// and Space press it only while it has the focus.
class PictureButton : public QPushButton {
  Q_OBJECT
 public:
  PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent = nullptr);

  // The font the caption is drawn in: the button's own, condensed just enough when the face's
  // glyphs are wider than the designed button, so that no caption loses its ends.
  QFont CaptionFont() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// The 16 x 16 button pictures, drawn on a transparent ground.
QPixmap ProhibitionPicture();  // stop
QPixmap GearPicture();         // go on
QPixmap TrianglePicture();     // go on from now on
QPixmap FloppyOnHandPicture(); // copy to a side folder

}  // namespace orimo
