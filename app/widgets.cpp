#include "app/widgets.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadioButton>
#include <QStyle>
#include <qdrawutil.h>

#include <algorithm>

namespace orimo {

// ---------------------------------------------------------------------------------------------
// Panel

Panel::Panel(const QString& caption, Bevel bevel, QWidget* parent) : QLabel(parent), bevel_(bevel) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setFrameShape(QFrame::NoFrame);
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
  if (bevel_ == Bevel::RaisedSunken) setContentsMargins(3, 2, 3, 2);
  setText(caption);
}

std::string Panel::Caption() const { return text().toStdString(); }

void Panel::SetCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }

void Panel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (bevel_ == Bevel::None) return;
  QPainter p(this);
  const QPalette& pal = palette();
  // Outer raised, inner sunken: the look of a framed caption field.
  qDrawShadePanel(&p, rect(), pal, false, 1);
  qDrawShadePanel(&p, rect().adjusted(1, 1, -1, -1), pal, true, 1);
}

void Panel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(event);
}

void Panel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click && OnClick) OnClick();
}

// ---------------------------------------------------------------------------------------------
// RadioGroup

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent) {
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    // Exclusivity is ours: Qt's own would refuse "nothing selected" once something was.
    button->setAutoExclusive(false);
    connect(button, &QRadioButton::clicked, this, [this, i] {
      SetItemIndex(i);
      ShowIndex();  // a click on the selected item must not untick it
    });
    buttons_.push_back(button);
  }
  PlaceButtons();
}

void RadioGroup::SetItemIndex(int index) {
  index = std::clamp(index, -1, Count() - 1);
  if (index == index_) return;
  index_ = index;
  ShowIndex();
  // Clearing the selection clicks no item, so it runs no handler.
  if (index_ >= 0 && OnClick) OnClick();
}

void RadioGroup::ShowIndex() {
  for (int i = 0; i < Count(); ++i) buttons_[static_cast<std::size_t>(i)]->setChecked(i == index_);
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  PlaceButtons();
}

void RadioGroup::PlaceButtons() {
  // Items share the height below the caption evenly, one column, as the designed groups do.
  const int top = 16, bottom = 4, left = 8;
  const int n = std::max(1, Count());
  const int step = std::max(1, (height() - top - bottom) / n);
  for (int i = 0; i < Count(); ++i)
    buttons_[static_cast<std::size_t>(i)]->setGeometry(left, top + i * step + (step - 18) / 2, width() - left - 4, 18);
}

// ---------------------------------------------------------------------------------------------
// Binding to actions

ActionButton::ActionButton(QAction* action, const QIcon& picture, bool pictureAbove, QWidget* parent)
    : QToolButton(parent), action_(action) {
  setIcon(picture);
  setIconSize(pictureAbove ? QSize(24, 24) : QSize(32, 32));
  setToolButtonStyle(pictureAbove ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
  setCursor(Qt::PointingHandCursor);
  connect(action_, &QAction::changed, this, &ActionButton::Follow);
  connect(this, &QToolButton::clicked, action_, [a = action_] { a->trigger(); });
  Follow();
}

void ActionButton::Follow() {
  setText(action_->text());
  setEnabled(action_->isEnabled());
}

void BindMenuEntry(QAction* entry, QAction* action, bool ownCaption) {
  auto follow = [entry, action, ownCaption] {
    if (!ownCaption) entry->setText(action->text());
    entry->setEnabled(action->isEnabled());
  };
  QObject::connect(action, &QAction::changed, entry, follow);
  QObject::connect(entry, &QAction::triggered, action, [action] { action->trigger(); });
  follow();
}

// ---------------------------------------------------------------------------------------------
// Pictures

namespace {

void DrawFolder(QPainter& p, double s, QColor body, bool open) {
  QPainterPath tab;
  tab.addRoundedRect(QRectF(0.08 * s, 0.2 * s, 0.38 * s, 0.16 * s), 0.04 * s, 0.04 * s);
  p.setPen(QPen(body.darker(160), std::max(1.0, s / 16)));
  p.setBrush(body.darker(115));
  p.drawPath(tab);
  p.setBrush(body);
  if (open) {
    QPolygonF front{{0.08 * s, 0.84 * s}, {0.2 * s, 0.42 * s}, {0.94 * s, 0.42 * s}, {0.82 * s, 0.84 * s}};
    p.drawRect(QRectF(0.08 * s, 0.3 * s, 0.76 * s, 0.54 * s));
    p.setBrush(body.lighter(120));
    p.drawPolygon(front);
  } else {
    p.drawRect(QRectF(0.08 * s, 0.3 * s, 0.84 * s, 0.54 * s));
  }
}

void DrawArrow(QPainter& p, double s, QPointF from, QPointF to, QColor colour) {
  p.setPen(QPen(colour, std::max(1.5, s / 9), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  QLineF line(to, from);
  QLineF a = line;
  a.setLength(0.22 * s);
  a.setAngle(line.angle() + 35);
  QLineF b = line;
  b.setLength(0.22 * s);
  b.setAngle(line.angle() - 35);
  p.drawLine(a);
  p.drawLine(b);
}

QPixmap Draw(int index, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  switch (index) {
    case 0:  // source folder: open yellow folder, arrow leaving it
      DrawFolder(p, s, QColor(250, 200, 60), true);
      DrawArrow(p, s, {0.5 * s, 0.62 * s}, {0.5 * s, 0.04 * s}, QColor(200, 30, 30));
      break;
    case 1:  // destination folder: closed blue folder, arrow entering it
      DrawFolder(p, s, QColor(90, 150, 230), false);
      DrawArrow(p, s, {0.5 * s, 0.0 * s}, {0.5 * s, 0.66 * s}, QColor(20, 140, 40));
      break;
    case 2: {  // start: green play triangle
      QPolygonF tri{{0.22 * s, 0.12 * s}, {0.88 * s, 0.5 * s}, {0.22 * s, 0.88 * s}};
      p.setPen(QPen(QColor(10, 100, 20), std::max(1.0, s / 16)));
      p.setBrush(QColor(40, 180, 60));
      p.drawPolygon(tri);
      break;
    }
    case 3: {  // delete: waste bin with a red cross
      p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, s / 16)));
      p.setBrush(QColor(190, 190, 200));
      p.drawRect(QRectF(0.22 * s, 0.28 * s, 0.56 * s, 0.64 * s));
      p.drawRect(QRectF(0.14 * s, 0.16 * s, 0.72 * s, 0.1 * s));
      p.setPen(QPen(QColor(220, 20, 20), std::max(1.5, s / 8), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(0.34 * s, 0.42 * s), QPointF(0.66 * s, 0.8 * s));
      p.drawLine(QPointF(0.66 * s, 0.42 * s), QPointF(0.34 * s, 0.8 * s));
      break;
    }
    case 4: {  // restore: curved arrow turning back
      p.setPen(QPen(QColor(30, 90, 200), std::max(1.5, s / 8), Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(0.2 * s, 0.2 * s, 0.62 * s, 0.62 * s), 90 * 16, -270 * 16);
      QPolygonF head{{0.51 * s, 0.04 * s}, {0.51 * s, 0.36 * s}, {0.3 * s, 0.2 * s}};
      p.setBrush(QColor(30, 90, 200));
      p.drawPolygon(head);
      break;
    }
    case 5: {  // resize: small and large frame with a diagonal arrow
      p.setPen(QPen(QColor(80, 80, 80), std::max(1.0, s / 16)));
      p.setBrush(QColor(230, 240, 255));
      p.drawRect(QRectF(0.08 * s, 0.08 * s, 0.84 * s, 0.84 * s));
      p.setBrush(QColor(150, 200, 250));
      p.drawRect(QRectF(0.08 * s, 0.56 * s, 0.36 * s, 0.36 * s));
      DrawArrow(p, s, {0.36 * s, 0.64 * s}, {0.84 * s, 0.16 * s}, QColor(200, 60, 20));
      break;
    }
    case 6: {  // quit: door with an arrow out
      p.setPen(QPen(QColor(90, 50, 20), std::max(1.0, s / 16)));
      p.setBrush(QColor(170, 110, 60));
      p.drawRect(QRectF(0.12 * s, 0.08 * s, 0.44 * s, 0.84 * s));
      DrawArrow(p, s, {0.42 * s, 0.5 * s}, {0.94 * s, 0.5 * s}, QColor(200, 30, 30));
      break;
    }
    default: {  // manual: blue circle with a question mark
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 110, 210));
      p.drawEllipse(QRectF(0.06 * s, 0.06 * s, 0.88 * s, 0.88 * s));
      QFont f;
      f.setBold(true);
      f.setPixelSize(std::max(6, static_cast<int>(0.7 * s)));
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
  }
  return pm;
}

}  // namespace

std::vector<QIcon> MakeImageList() {
  std::vector<QIcon> list;
  for (int i = 0; i < 8; ++i) list.emplace_back(Draw(i, 16));
  return list;
}

QIcon ButtonPicture(int index) { return QIcon(Draw(index, 32)); }

}  // namespace orimo
