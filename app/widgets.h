#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QRadioButton;

namespace orimo {

// A panel in the manner of the window's design: a caption, an optional double bevel (raised
// outside, sunken inside, one pixel each) and a click. The caption is plain text, never markup.
class Panel : public QLabel {
  Q_OBJECT
 public:
  enum class Bevel { None, RaisedSunken };

  Panel(const QString& caption, Bevel bevel, QWidget* parent);

  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // Runs on a left-button release inside the panel.
  std::function<void()> OnClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Bevel bevel_;
  bool pressed_ = false;
};

// A radio group with an item index: -1 selects nothing; selecting the item already selected
// changes nothing; every change to an item, by the user or by the program, runs OnClick once
// (clearing the selection runs nothing).
class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

  int ItemIndex() const { return index_; }
  // Out-of-range indexes are clamped to -1 … count-1.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }

  std::function<void()> OnClick;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowIndex();
  void PlaceButtons();

  std::vector<QRadioButton*> buttons_;
  int index_ = -1;
};

// A picture button bound to an action: it shows the action's caption and enabled state and
// triggers it; the picture is the button's own.
class ActionButton : public QToolButton {
  Q_OBJECT
 public:
  ActionButton(QAction* action, const QIcon& picture, bool pictureAbove, QWidget* parent);
  QAction* Action() const { return action_; }

 private:
  void Follow();
  QAction* action_;
};

// Makes `entry` (a menu entry) follow `action`: enabled state always, caption unless the entry
// keeps its own; triggering the entry triggers the action.
void BindMenuEntry(QAction* entry, QAction* action, bool ownCaption);

// The pictures of the commands, drawn in code, indexed as the window's tables say:
// 0 source folder, 1 destination folder, 2 start, 3 delete, 4 restore, 5 resize, 6 quit, 7 manual.
std::vector<QIcon> MakeImageList();
// A larger drawing of picture `index` for the buttons.
QIcon ButtonPicture(int index);

}  // namespace orimo
