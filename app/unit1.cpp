#include "app/unit1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

#include "app/application.h"
#include "app/log.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "folders/browse.h"
#include "folders/drop_hook.h"
#include "folders/shell.h"
#include "maintenance/marks.h"
#include "organise/organise_run.h"
#include "organise/prompts/unit2.h"
#include "organise/prompts/unit3.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/files.h"
#include "resize/resize_run.h"

namespace orimo {

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;

namespace {

constexpr int kDesignWidth = 517;
constexpr int kDesignHeight = 412;
const char* const kFontFamily = "IPAPGothic";
const char* const kDropHint = "ここにフォルダをドロップ！";

// Tabs of the page control are 100 × 20, whatever their captions need; the captions get the
// whole tab, as the style's padding would cut the longer ones.
class PageControl : public QTabWidget {
 public:
  explicit PageControl(QWidget* parent) : QTabWidget(parent) {
    // Borders included: 98 + 2 wide, 17 + 1 + 2 (the lift of the unselected tabs) high. The
    // selected tab stands higher and takes the page's face, so the shown page is told apart.
    tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { width: 98px; height: 17px; padding: 0px; margin-top: 2px;"
        " border: 1px solid #a0a0a0; border-bottom: none;"
        " border-top-left-radius: 2px; border-top-right-radius: 2px; background: #e1e1e1; }"
        "QTabBar::tab:selected { height: 19px; margin-top: 0px; background: #f0f0f0; }"
        "QTabBar::tab:!selected:hover { background: #e9e9e9; }"));
    tabBar()->setElideMode(Qt::ElideNone);
    tabBar()->setExpanding(false);
  }
};

QFont TitleFont() {
  QFont f(kFontFamily);
  f.setPixelSize(16);
  f.setBold(true);
  return f;
}

void Colour(QWidget* w, QColor background, QColor text) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, background);
  pal.setColor(QPalette::WindowText, text);
  w->setPalette(pal);
}

struct FolderInfo {
  const char* key;
  std::size_t threshold;
};

FolderInfo InfoOf(FolderPanel panel) {
  switch (panel) {
    case FolderPanel::OrganiseSource: return {"Read", 65};
    case FolderPanel::OrganiseDestination: return {"Write", 65};
    case FolderPanel::ResizeSource: return {"ModRead", 35};
    case FolderPanel::ResizeDestination: return {"ModWrite", 35};
  }
  return {"Read", 65};
}

int ExecBox(QWidget* parent, const std::string& text, const std::string& caption, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text), buttons, parent);
  return box.exec();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and end

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), boxes_(RealMessageBoxes(this)) {
  QFont font(kFontFamily);
  font.setPixelSize(12);
  setFont(font);
  Colour(this, QColor(0xF0, 0xF0, 0xF0), Qt::black);  // clBtnFace
  resize(kDesignWidth, kDesignHeight);
  // Group captions sit on the frame line, so the designed child positions hold.
  setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
                               "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                               " left: 7px; top: 0px; padding: 0px 2px; }"));

  ImageList1 = MakeImageList();
  CreateActions();
  CreatePages();
  CreateMenus();

  // The start-up steps, in their order. The run-state fields start empty (their initialisers).
  setWindowTitle(QStringLiteral("Orimo Ver.1.01"));
  const std::string current = CurrentDirectory();
  log_ = std::make_unique<TLOG>(current + "/Log.txt", current + "/Log.bak");
  fields_.BaseDir = CurrentDirectory();
  LoadSettingsIntoControls();
  for (FolderPanel p : {FolderPanel::OrganiseSource, FolderPanel::OrganiseDestination, FolderPanel::ResizeSource,
                        FolderPanel::ResizeDestination})
    AlignFolderCaption(p);
  InstallDropTargets();
}

TForm1::~TForm1() {
  FormDestroy();
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormDestroy() {
  Settings s;
  s.read = Panel1->Caption();
  s.write = Panel2->Caption();
  s.modRead = Panel8->Caption();
  s.modWrite = Panel10->Caption();
  s.types = Options().types;
  s.search = RadioGroup1->ItemIndex() == 0 ? 0 : 1;
  s.checked = CheckBox3->isChecked();
  s.doubleMark = CheckBox4->isChecked();
  s.modSize = RadioGroup3->ItemIndex();  // not written by the save
  try {
    SaveSettings(SettingsPath(fields_.BaseDir), s);
  } catch (const PlatformError& e) {
    ShowError(e.what());
  }
  log_.reset();
}

TForm1::MessageBoxes TForm1::RealMessageBoxes(QWidget* parent) {
  MessageBoxes b;
  b.notice = [parent](const std::string& text) { ExecBox(parent, text, "Orimo", QMessageBox::Ok); };
  b.okCancel = [parent](const std::string& text, const std::string& caption) {
    return ExecBox(parent, text, caption, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
  };
  b.yesNo = [parent](const std::string& text, const std::string& caption) {
    return ExecBox(parent, text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  b.error = [](const std::string& text) { OrimoApplication::ShowErrorBox(text); };
  return b;
}

void TForm1::CreateActions() {
  struct Def {
    QAction** action;
    const char* caption;
    int picture;
    void (TForm1::*execute)();
  };
  const Def defs[] = {
      {&Action1, "整理元", 0, &TForm1::Action1Execute},
      {&Action2, "整理先", 1, &TForm1::Action2Execute},
      {&Action3, "日付ファイル名に変更＆整理開始", 2, &TForm1::Action3Execute},
      {&Action4, "「＠」一括削除", 3, &TForm1::Action4Execute},
      {&Action5, "「x2」一括削除", 3, &TForm1::Action5Execute},
      {&Action6, "元に戻す", 4, &TForm1::Action6Execute},
      {&Action7, "元に戻す", 4, &TForm1::Action7Execute},
      {&Action8, "変換元", 0, &TForm1::Action8Execute},
      {&Action9, "変換先", 1, &TForm1::Action9Execute},
      {&Action10, "サイズ変換開始", 2, &TForm1::Action10Execute},
  };
  for (const Def& d : defs) {
    *d.action = new QAction(ImageList1[static_cast<std::size_t>(d.picture)], QString::fromUtf8(d.caption), this);
    connect(*d.action, &QAction::triggered, this, d.execute);
  }
}

void TForm1::CreatePages() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  PageControl1 = new PageControl(central);
  ProgressBar1 = new QProgressBar(central);
  ProgressBar1->setFixedHeight(25);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  layout->addWidget(PageControl1, 1);
  layout->addWidget(ProgressBar1);
  setCentralWidget(central);

  TabSheet1 = new QWidget;
  TabSheet3 = new QWidget;
  TabSheet2 = new QWidget;
  PageControl1->addTab(TabSheet1, QStringLiteral("整理実行"));
  PageControl1->addTab(TabSheet3, QStringLiteral("JPEGサイズ変更"));
  PageControl1->addTab(TabSheet2, QStringLiteral("環境設定＆削除"));
  for (QWidget* page : {TabSheet1, TabSheet3, TabSheet2}) {
    page->setAutoFillBackground(true);
    Colour(page, QColor(0xF0, 0xF0, 0xF0), Qt::black);
  }

  auto title = [](QWidget* page, const char* caption, QRect place, QColor background, QColor text) {
    auto* p = new Panel(QString::fromUtf8(caption), Panel::Bevel::RaisedSunken, page);
    p->setGeometry(place);
    p->setFont(TitleFont());
    Colour(p, background, text);
    p->setCursor(Qt::PointingHandCursor);
    return p;
  };
  auto folder = [](QWidget* page, QRect place) {
    auto* p = new Panel(QStringLiteral("***"), Panel::Bevel::RaisedSunken, page);
    p->setGeometry(place);
    p->setToolTip(QString::fromUtf8(kDropHint));
    p->setAutoFillBackground(false);
    return p;
  };
  auto button = [](QAction* action, int picture, bool above, QWidget* parent, QRect place) {
    auto* b = new ActionButton(action, ButtonPicture(picture), above, parent);
    b->setGeometry(place);
    return b;
  };

  // 整理実行
  const QColor clHighlight(0x33, 0x99, 0xFF);
  const QColor clInactiveCaptionText(0xD8, 0xE4, 0xF8);
  const QColor clInfoBk(0xFF, 0xFF, 0xE1);
  Panel5 = title(TabSheet1, "整理元フォルダ", {8, 16, 481, 32}, Qt::yellow, Qt::red);
  BitBtn1 = button(Action1, 0, false, TabSheet1, {8, 48, 97, 57});
  Panel1 = folder(TabSheet1, {104, 48, 385, 57});
  Panel6 = title(TabSheet1, "整理先フォルダ", {8, 120, 481, 32}, clHighlight, QColor(0x00, 0xFF, 0x00));
  BitBtn2 = button(Action2, 1, false, TabSheet1, {8, 152, 97, 57});
  Panel2 = folder(TabSheet1, {104, 152, 385, 57});
  BitBtn3 = button(Action3, 2, false, TabSheet1, {8, 223, 481, 65});

  // JPEGサイズ変更
  RadioGroup3 = new RadioGroup(QStringLiteral("伸縮するサイズ"),
                               {QStringLiteral(" 320 x 240"), QStringLiteral(" 640 x 480"), QStringLiteral(" 800 x 600"),
                                QStringLiteral("1024 x 768"), QStringLiteral("1280 x 960")},
                               TabSheet3);
  RadioGroup3->setGeometry(6, 16, 99, 194);
  RadioGroup3->SetItemIndex(2);  // as designed; no handler is attached yet
  Panel7 = title(TabSheet3, "変換元フォルダ", {112, 16, 377, 32}, clInfoBk, Qt::red);
  BitBtn9 = button(Action8, 0, false, TabSheet3, {112, 48, 97, 57});
  Panel8 = folder(TabSheet3, {208, 48, 280, 57});
  Panel9 = title(TabSheet3, "変換先フォルダ", {112, 120, 377, 32}, clInactiveCaptionText, Qt::blue);
  BitBtn10 = button(Action9, 1, false, TabSheet3, {112, 152, 97, 57});
  Panel10 = folder(TabSheet3, {208, 152, 280, 57});
  BitBtn8 = button(Action10, 5, false, TabSheet3, {8, 223, 481, 65});

  // 環境設定＆削除
  GroupBox1 = new QGroupBox(QStringLiteral("対象ファイル形式"), TabSheet2);
  GroupBox1->setGeometry(8, 16, 130, 257);
  const std::pair<QCheckBox**, const char*> types[] = {{&CheckBox1, "JPEG"}, {&CheckBox2, "BMP"}, {&CheckBox5, "MOV"},
                                                       {&CheckBox6, "AVI"},  {&CheckBox7, "MP4"}, {&CheckBox8, "3G2"}};
  int top = 25;
  for (auto [box, caption] : types) {
    *box = new QCheckBox(QString::fromUtf8(caption), GroupBox1);
    (*box)->setGeometry(16, top, 97, 17);
    top += 35;
  }
  CheckBox1->setChecked(true);
  Panel3 = new Panel(QString(), Panel::Bevel::None, TabSheet2);
  Panel3->setGeometry(118, 24, 17, 17);
  Panel3->setAutoFillBackground(false);
  Panel3->setCursor(Qt::PointingHandCursor);

  RadioGroup1 = new RadioGroup(QStringLiteral("整理基準"), {QStringLiteral("撮影日（Exif)"), QStringLiteral("ファイル更新日")},
                               TabSheet2);
  RadioGroup1->setGeometry(152, 192, 130, 81);
  RadioGroup1->SetItemIndex(0);

  GroupBox2 = new QGroupBox(QStringLiteral("整理済みファイル"), TabSheet2);
  GroupBox2->setGeometry(154, 16, 337, 81);
  CheckBox3 = new QCheckBox(QStringLiteral("マークを付ける"), GroupBox2);
  CheckBox3->setGeometry(16, 34, 105, 17);
  CheckBox3->setChecked(true);
  BitBtn4 = button(Action4, 3, true, GroupBox2, {124, 15, 97, 57});
  BitBtn5 = button(Action6, 4, true, GroupBox2, {228, 15, 97, 57});

  GroupBox3 = new QGroupBox(QStringLiteral("重複検出ファイル"), TabSheet2);
  GroupBox3->setGeometry(154, 104, 337, 81);
  CheckBox4 = new QCheckBox(QStringLiteral("マークを付ける"), GroupBox3);
  CheckBox4->setGeometry(16, 34, 105, 17);
  CheckBox4->setChecked(true);
  BitBtn7 = button(Action5, 3, true, GroupBox3, {124, 15, 97, 57});
  BitBtn6 = button(Action7, 4, true, GroupBox3, {228, 15, 97, 57});

  Panel4 = new Panel(QString(), Panel::Bevel::None, TabSheet2);
  Panel4->setGeometry(156, 164, 17, 17);
  Panel4->setAutoFillBackground(false);
  Panel4->setCursor(Qt::PointingHandCursor);
  Panel3->raise();
  Panel4->raise();

  // Handlers, attached after the designed state so that only real changes run them.
  connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
  connect(CheckBox5, &QCheckBox::toggled, this, &TForm1::CheckBox5Click);
  connect(CheckBox6, &QCheckBox::toggled, this, &TForm1::CheckBox6Click);
  connect(CheckBox7, &QCheckBox::toggled, this, &TForm1::CheckBox7Click);
  connect(CheckBox8, &QCheckBox::toggled, this, &TForm1::CheckBox8Click);
  RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
  RadioGroup3->OnClick = [this] { RadioGroup3Click(); };

  Panel5->OnClick = [this] { Panel5Click(); };
  Panel6->OnClick = [this] { Panel6Click(); };
  Panel7->OnClick = [this] { Panel7Click(); };
  Panel9->OnClick = [this] { Panel9Click(); };
  Panel3->OnClick = [this] { Panel3Click(); };
  Panel4->OnClick = [this] { Panel4Click(); };
}

void TForm1::CreateMenus() {
  auto entry = [this](QMenu* menu, const char* caption, int picture) {
    QAction* a = menu->addAction(ImageList1[static_cast<std::size_t>(picture)], QString::fromUtf8(caption));
    return a;
  };
  FileMenu = menuBar()->addMenu(QStringLiteral("ファイル"));
  N1 = entry(FileMenu, "", 0);
  N2 = entry(FileMenu, "", 1);
  N7 = entry(FileMenu, "", 0);
  N8 = entry(FileMenu, "変換後", 1);
  Exit1 = entry(FileMenu, "終了", 6);
  BindMenuEntry(N1, Action1, false);
  BindMenuEntry(N2, Action2, false);
  BindMenuEntry(N7, Action8, false);
  BindMenuEntry(N8, Action9, true);
  connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

  FolderMenu = menuBar()->addMenu(QStringLiteral("ディレクトリ参照"));
  N3 = entry(FolderMenu, "整理元フォルダ", 0);
  N4 = entry(FolderMenu, "整理先フォルダ", 0);
  Exif1 = entry(FolderMenu, "Exif規格外フォルダ", 0);
  N6 = entry(FolderMenu, "重複再確認フォルダ", 0);
  N9 = entry(FolderMenu, "変換元フォルダ", 0);
  N10 = entry(FolderMenu, "変換先フォルダ", 0);
  connect(N3, &QAction::triggered, this, &TForm1::N3Click);
  connect(N4, &QAction::triggered, this, &TForm1::N4Click);
  connect(Exif1, &QAction::triggered, this, &TForm1::Exif1Click);
  connect(N6, &QAction::triggered, this, &TForm1::N6Click);
  connect(N9, &QAction::triggered, this, &TForm1::N9Click);
  connect(N10, &QAction::triggered, this, &TForm1::N10Click);

  HelpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ"));
  N5 = entry(HelpMenu, "簡易マニュアルを見る", 7);
  connect(N5, &QAction::triggered, this, &TForm1::N5Click);
}

void TForm1::LoadSettingsIntoControls() {
  const Settings s = LoadSettings(SettingsPath(fields_.BaseDir));
  Panel1->SetCaption(s.read);
  Panel2->SetCaption(s.write);
  Panel8->SetCaption(s.modRead);
  Panel10->SetCaption(s.modWrite);
  // Each setting runs the control's handler as the user's change would.
  QCheckBox* const typeBoxes[] = {CheckBox1, CheckBox2, CheckBox5, CheckBox6, CheckBox7, CheckBox8};
  for (std::size_t i = 0; i < s.types.size(); ++i) typeBoxes[i]->setChecked(s.types[i]);
  RadioGroup3->SetItemIndex(s.modSize);
  RadioGroup1->SetItemIndex(s.search);
  CheckBox3->setChecked(s.checked);
  CheckBox4->setChecked(s.doubleMark);
}

void TForm1::InstallDropTargets() {
  dropHook_ = new DropHook(this);
  dropHook_->AddPanel(Panel1, [this](const std::vector<std::string>& p) { Panel1DropFiles(p); });
  dropHook_->AddPanel(Panel2, [this](const std::vector<std::string>& p) { Panel2DropFiles(p); });
  dropHook_->AddPanel(Panel8, [this](const std::vector<std::string>& p) { Panel8DropFiles(p); });
  dropHook_->AddPanel(Panel10, [this](const std::vector<std::string>& p) { Panel10DropFiles(p); });
  if (qApp) qApp->installEventFilter(dropHook_);
}

// ---------------------------------------------------------------------------------------------
// Window behaviour

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // The designed size is the outer size: take the window manager's frame off the client area,
  // then centre the window on its screen.
  const QSize frame = frameGeometry().size() - size();
  if (frame.width() > 0 || frame.height() > 0)
    resize(kDesignWidth - frame.width(), kDesignHeight - frame.height());
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kDesignWidth / 2, kDesignHeight / 2));
  }
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  StretchWithWidth();
}

void TForm1::StretchWithWidth() {
  if (!Panel1) return;
  // Measured against the outer width, so the designed sizes hold at the designed window size
  // whatever frame the window manager draws.
  const int delta = frameGeometry().width() - kDesignWidth;
  auto stretch = [delta](QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, std::max(0, width + delta), height);
  };
  stretch(Panel5, 8, 16, 481, 32);
  stretch(Panel1, 104, 48, 385, 57);
  stretch(Panel6, 8, 120, 481, 32);
  stretch(Panel2, 104, 152, 385, 57);
  stretch(BitBtn3, 8, 223, 481, 65);
  stretch(Panel7, 112, 16, 377, 32);
  stretch(Panel8, 208, 48, 280, 57);
  stretch(Panel9, 112, 120, 377, 32);
  stretch(Panel10, 208, 152, 280, 57);
  stretch(BitBtn8, 8, 223, 481, 65);
  GroupBox2->move(154 + delta, 16);
  GroupBox3->move(154 + delta, 104);
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (busy_) {
    // A run is pumping messages inside a handler; ending the loop under it would destroy the
    // window it writes to. The window closes itself as soon as the run has ended.
    closeWhenIdle_ = true;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TForm1::Exit1Click() { close(); }

// ---------------------------------------------------------------------------------------------
// RunHost

std::string TForm1::FolderText(FolderPanel panel) { return FolderPanelWidget(panel)->Caption(); }

Panel* TForm1::FolderPanelWidget(FolderPanel panel) const {
  switch (panel) {
    case FolderPanel::OrganiseSource: return Panel1;
    case FolderPanel::OrganiseDestination: return Panel2;
    case FolderPanel::ResizeSource: return Panel8;
    case FolderPanel::ResizeDestination: return Panel10;
  }
  return Panel1;
}

RunOptions TForm1::Options() {
  RunOptions o;
  o.types = {CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox5->isChecked(),
             CheckBox6->isChecked(), CheckBox7->isChecked(), CheckBox8->isChecked()};
  o.dateBasis = RadioGroup1->ItemIndex();
  o.markOrganised = CheckBox3->isChecked();
  o.markDuplicates = CheckBox4->isChecked();
  o.sizePreset = RadioGroup3->ItemIndex();
  return o;
}

void TForm1::SetBusy(BusyKind kind, bool busy) {
  busy_ = busy;
  for (QAction* a : {Action1, Action2, Action3, Action4, Action5, Action6, Action7, Action8, Action9, Action10})
    a->setEnabled(!busy);
  for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) b->setEnabled(!busy);
  const bool videoBoxes = !busy || kind == BusyKind::Resize;
  for (QCheckBox* b : {CheckBox5, CheckBox6, CheckBox7, CheckBox8}) b->setEnabled(videoBoxes);
  RadioGroup1->setEnabled(!busy);
  RadioGroup3->setEnabled(!busy);
  if (!busy && closeWhenIdle_) {
    closeWhenIdle_ = false;
    // After the handler that ran the run has returned to the loop.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TForm1::SetProgressMax(int maximum) {
  // A zero range would turn the bar into a busy indicator; an empty walk shows an empty bar.
  ProgressBar1->setRange(0, std::max(1, maximum));
}

void TForm1::SetProgress(int position) {
  // Clamped into the range as the system's bar does; Qt's bar would ignore the value.
  ProgressBar1->setValue(std::clamp(position, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

int TForm1::Progress() { return ProgressBar1->value(); }

void TForm1::ProcessMessages() { QCoreApplication::processEvents(); }

void TForm1::Notice(const std::string& text) { boxes_.notice(text); }

bool TForm1::AskOkCancel(const std::string& text, const std::string& caption) { return boxes_.okCancel(text, caption); }

bool TForm1::AskYesNo(const std::string& text, const std::string& caption) { return boxes_.yesNo(text, caption); }

void TForm1::ShowError(const std::string& text) { boxes_.error(text); }

void TForm1::ShowDuplicatePrompt() {
  if (Form2)
    Form2->exec();
  else
    fields_.PromptAnswer = AnswerAbort;
}

void TForm1::ShowNonExifPrompt() {
  if (Form3)
    Form3->exec();
  else
    fields_.PromptAnswer = AnswerAbort;
}

// ---------------------------------------------------------------------------------------------
// Commands

void TForm1::Action1Execute() { BrowseInto(FolderPanel::OrganiseSource); }
void TForm1::Action2Execute() { BrowseInto(FolderPanel::OrganiseDestination); }
void TForm1::Action8Execute() { BrowseInto(FolderPanel::ResizeSource); }
void TForm1::Action9Execute() { BrowseInto(FolderPanel::ResizeDestination); }

void TForm1::Action3Execute() {
  try {
    OrganiseCommand(*this);
  } catch (...) {
    // The window must not stay locked after an error ended the run.
    if (busy_) SetBusy(BusyKind::Organise, false);
    throw;
  }
}

void TForm1::Action10Execute() {
  try {
    ResizeCommand(*this);
  } catch (...) {
    if (busy_) SetBusy(BusyKind::Resize, false);
    throw;
  }
}

void TForm1::Action4Execute() { DeleteMarkedCommand(*this, Mark::Organised); }
void TForm1::Action5Execute() { DeleteMarkedCommand(*this, Mark::Duplicate); }
void TForm1::Action6Execute() { RestoreMarkedCommand(*this, Mark::Organised); }
void TForm1::Action7Execute() { RestoreMarkedCommand(*this, Mark::Duplicate); }

void TForm1::AlignFolderCaption(FolderPanel panel) {
  Panel* p = FolderPanelWidget(panel);
  const bool longer = Cp932Length(p->Caption()) > InfoOf(panel).threshold;
  p->setAlignment(longer ? (Qt::AlignRight | Qt::AlignVCenter) : Qt::AlignCenter);
}

bool TForm1::AcceptPath(const std::string& path) {
  // A path the 260-byte buffers cannot hold is refused whole rather than cut to a wrong folder;
  // one the settings file cannot store would make every later save of the settings fail.
  if (Cp932Length(path) > kMaxPathBytes) {
    Notice(kPathTooLong);
    return false;
  }
  if (!ToCp932(path)) {
    Notice(kPathNotStorable);
    return false;
  }
  return true;
}

void TForm1::BrowseInto(FolderPanel panel) {
  BrowseBuffer.fill(0);
  Panel* p = FolderPanelWidget(panel);
  const std::string chosen = BrowseForFolder(this, p->Caption());
  if (!AcceptPath(chosen)) return;
  const std::string bytes = ToCp932(chosen).value_or(std::string());
  std::memcpy(BrowseBuffer.data(), bytes.data(), std::min(bytes.size(), kMaxPathBytes));
  if (chosen.empty()) {
    p->SetCaption("");
    return;
  }
  p->SetCaption(chosen);
  AlignFolderCaption(panel);
  WriteFolderSetting(SettingsPath(fields_.BaseDir), InfoOf(panel).key, p->Caption());
}

void TForm1::DropInto(FolderPanel panel, const std::vector<std::string>& paths) {
  raise();
  activateWindow();
  if (paths.size() != 1) {
    Notice("フォルダをドロップして下さい！");
    return;
  }
  if (!AcceptPath(paths[0])) return;
  Panel* p = FolderPanelWidget(panel);
  p->SetCaption(paths[0]);
  AlignFolderCaption(panel);
  WriteFolderSetting(SettingsPath(fields_.BaseDir), InfoOf(panel).key, p->Caption());
}

void TForm1::Panel1DropFiles(const std::vector<std::string>& paths) { DropInto(FolderPanel::OrganiseSource, paths); }
void TForm1::Panel2DropFiles(const std::vector<std::string>& paths) { DropInto(FolderPanel::OrganiseDestination, paths); }
void TForm1::Panel8DropFiles(const std::vector<std::string>& paths) { DropInto(FolderPanel::ResizeSource, paths); }
void TForm1::Panel10DropFiles(const std::vector<std::string>& paths) { DropInto(FolderPanel::ResizeDestination, paths); }

// ---------------------------------------------------------------------------------------------
// Option rules

void TForm1::ForceFileDateIfTicked(QCheckBox* box) {
  if (box->isChecked()) RadioGroup1->SetItemIndex(1);
}

void TForm1::CheckBox2Click() { ForceFileDateIfTicked(CheckBox2); }
void TForm1::CheckBox5Click() { ForceFileDateIfTicked(CheckBox5); }
void TForm1::CheckBox6Click() { ForceFileDateIfTicked(CheckBox6); }
void TForm1::CheckBox7Click() { ForceFileDateIfTicked(CheckBox7); }
void TForm1::CheckBox8Click() { ForceFileDateIfTicked(CheckBox8); }

void TForm1::RadioGroup1Click() {
  for (QCheckBox* b : {CheckBox2, CheckBox5, CheckBox6, CheckBox7, CheckBox8})
    if (b->isChecked()) {
      RadioGroup1->SetItemIndex(1);
      return;
    }
}

void TForm1::RadioGroup3Click() { WriteModSize(SettingsPath(fields_.BaseDir), RadioGroup3->ItemIndex()); }

// ---------------------------------------------------------------------------------------------
// Shortcuts

void TForm1::OpenFolder(const std::string& path) {
  OpenFolderInShell(path, [this](const std::string& text) { Notice(text); });
}

void TForm1::Panel5Click() { OpenFolder(Panel1->Caption()); }
void TForm1::Panel6Click() { OpenFolder(Panel2->Caption()); }
void TForm1::Panel7Click() { OpenFolder(Panel8->Caption()); }
void TForm1::Panel9Click() { OpenFolder(Panel10->Caption()); }
void TForm1::Panel3Click() { OpenFolder(fields_.BaseDir + "/ExifNG"); }
void TForm1::Panel4Click() { OpenFolder(fields_.BaseDir + "/Recheck"); }
void TForm1::N3Click() { Panel5Click(); }
void TForm1::N4Click() { Panel6Click(); }
void TForm1::N9Click() { Panel7Click(); }
void TForm1::N10Click() { Panel9Click(); }
void TForm1::Exif1Click() { Panel3Click(); }
void TForm1::N6Click() { Panel4Click(); }

void TForm1::N5Click() {
  OpenDocument(fields_.BaseDir + "/Manual.txt", "", [this](const std::string& text) { Notice(text); });
}

}  // namespace orimo
