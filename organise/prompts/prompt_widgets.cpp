#include "organise/prompts/prompt_widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QtMath>

#include <algorithm>

namespace orimo {

namespace {

// One bevel ring inside `rect`; returns the rectangle left inside it.
QRect DrawBevel(QPainter& painter, QRect rect, PromptPanel::Bevel bevel, const QPalette& palette) {
  if (bevel == PromptPanel::Bevel::None) return rect;
  const QColor light = palette.color(QPalette::Light);
  const QColor dark = palette.color(QPalette::Dark);
  const QColor& topLeft = bevel == PromptPanel::Bevel::Raised ? light : dark;
  const QColor& bottomRight = bevel == PromptPanel::Bevel::Raised ? dark : light;
  painter.setPen(topLeft);
  painter.drawLine(rect.topLeft(), rect.topRight());
  painter.drawLine(rect.topLeft(), rect.bottomLeft());
  painter.setPen(bottomRight);
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  painter.drawLine(rect.topRight(), rect.bottomRight());
  return rect.adjusted(1, 1, -1, -1);
}

// Inside the button's frame, on each side of the caption.
constexpr int kCaptionMargin = 3;

QPixmap EmptyPicture() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace

PromptPanel::PromptPanel(Bevel outer, Bevel inner, QWidget* parent)
    : QWidget(parent), outer_(outer), inner_(inner), face_(palette().color(QPalette::Window)),
      textColor_(palette().color(QPalette::WindowText)) {
  setFocusPolicy(Qt::NoFocus);
}

void PromptPanel::setText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  update();
}

void PromptPanel::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment & Qt::AlignHorizontal_Mask;
  update();
}

void PromptPanel::setFaceColor(const QColor& color) {
  face_ = color;
  update();
}

void PromptPanel::setTextColor(const QColor& color) {
  textColor_ = color;
  update();
}

void PromptPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect face = DrawBevel(painter, rect(), outer_, palette());
  face = DrawBevel(painter, face, inner_, palette());
  painter.fillRect(face, face_);
  // The caption is clipped to the face: a right-aligned path wider than the box loses its
  // beginning and keeps the file name at its end in view.
  painter.setClipRect(face);
  painter.setPen(textColor_);
  painter.setFont(font());
  painter.drawText(face, static_cast<int>(alignment_ | Qt::AlignVCenter | Qt::TextSingleLine), text_);
}

PictureButton::PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setIcon(QIcon(picture));
  setIconSize(QSize(16, 16));
  setAutoDefault(false);
  setDefault(false);
  setFocusPolicy(Qt::StrongFocus);
}

QFont PictureButton::CaptionFont() const {
  QFont condensed = font();
  const int room = width() - 2 * kCaptionMargin;
  int need = QFontMetrics(condensed).horizontalAdvance(text());
  if (room <= 0 || need <= room) return condensed;
  // Narrower glyphs of the same height; never below half width.
  for (int stretch = std::max(50, room * 100 / need); stretch >= 50; --stretch) {
    condensed.setStretch(stretch);
    need = QFontMetrics(condensed).horizontalAdvance(text());
    if (need <= room) break;
  }
  return condensed;
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButton, option);  // frame and focus rectangle

  // Picture and caption form one block, centred both ways; a pressed button shifts it.
  painter.setFont(CaptionFont());
  const QFontMetrics metrics = painter.fontMetrics();
  const int gap = 2;
  const int blockHeight = 16 + gap + metrics.height();
  const int shift = isDown() ? 1 : 0;
  const int top = (height() - blockHeight) / 2 + shift;
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  painter.drawPixmap((width() - 16) / 2 + shift, top, icon().pixmap(QSize(16, 16), mode));
  const QRect captionRect(shift, top + 16 + gap, width(), metrics.height());
  painter.setClipRect(rect().adjusted(kCaptionMargin, 2, -kCaptionMargin, -2));
  painter.drawItemText(captionRect, Qt::AlignHCenter | Qt::AlignTop, palette(), isEnabled(), text(),
                       QPalette::ButtonText);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
  const bool plainEnter = event->modifiers() == Qt::NoModifier ||
                          (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plainEnter) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

QPixmap ProhibitionPicture() {
  QPixmap picture = EmptyPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::white);
  painter.setPen(QPen(QColor(0xD0, 0x00, 0x00), 2.4));
  painter.drawEllipse(QRectF(2, 2, 12, 12));
  painter.drawLine(QPointF(4.6, 4.6), QPointF(11.4, 11.4));
  return picture;
}

QPixmap GearPicture() {
  QPixmap picture = EmptyPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF centre(8, 8);
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    // Alternate between the tooth tips and the roots, two points each, for square teeth.
    const double radius = i % 2 == 0 ? 7.3 : 5.2;
    const double from = (i - 0.45) * M_PI / teeth;
    const double to = (i + 0.45) * M_PI / teeth;
    const QPointF a = centre + QPointF(radius * qCos(from), radius * qSin(from));
    const QPointF b = centre + QPointF(radius * qCos(to), radius * qSin(to));
    if (i == 0) gear.moveTo(a); else gear.lineTo(a);
    gear.lineTo(b);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(centre, 2.2, 2.2);
  painter.setPen(QPen(QColor(0x30, 0x40, 0x60), 0.8));
  painter.setBrush(QColor(0x70, 0x88, 0xB0));
  painter.drawPath(gear.subtracted(hole));
  return picture;
}

QPixmap TrianglePicture() {
  QPixmap picture = EmptyPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF points[] = {{4.5, 2.0}, {13.0, 8.0}, {4.5, 14.0}};
  painter.setPen(QPen(QColor(0x00, 0x60, 0x00), 1.0));
  painter.setBrush(QColor(0x00, 0xB0, 0x00));
  painter.drawPolygon(points, 3);
  return picture;
}

QPixmap FloppyOnHandPicture() {
  QPixmap picture = EmptyPicture();
  QPainter painter(&picture);
  // The disk: a dark body, a metal shutter at the top, a white label below it.
  painter.fillRect(QRect(3, 0, 10, 10), QColor(0x20, 0x30, 0x80));
  painter.fillRect(QRect(5, 0, 6, 3), QColor(0xC0, 0xC0, 0xC0));
  painter.fillRect(QRect(9, 0, 1, 2), QColor(0x20, 0x30, 0x80));
  painter.fillRect(QRect(5, 5, 6, 5), Qt::white);
  // The open hand below, palm up, with the thumb raised on the left.
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath hand;
  hand.moveTo(0.5, 10.5);
  hand.lineTo(2.5, 10.5);
  hand.lineTo(4.0, 12.0);
  hand.lineTo(15.5, 11.5);
  hand.lineTo(15.5, 14.0);
  hand.lineTo(9.0, 15.5);
  hand.lineTo(0.5, 15.5);
  hand.closeSubpath();
  painter.setPen(QPen(QColor(0x90, 0x50, 0x20), 0.8));
  painter.setBrush(QColor(0xF0, 0xC0, 0x90));
  painter.drawPath(hand);
  return picture;
}

}  // namespace orimo
