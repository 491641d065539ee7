// The main window's wiring on the real widgets (offscreen platform): option rules, start-up
// settings load, caption alignment, busy state, action binding, the general error handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMimeData>
#include <QUrl>
#include <QMenu>
#include <QMetaObject>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/application.h"
#include "app/log.h"
#include "app/unit1.h"
#include "app/widgets.h"
#include "folders/browse.h"
#include "organise/prompts/prompt_widgets.h"
#include "organise/prompts/unit2.h"
#include "organise/prompts/unit3.h"
#include "platform/error.h"
#include "platform/ini_profile.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Builds the window with the current directory set to a fresh base directory, and records
// every message box it would show.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    oldCwd_ = buf;
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override {
    form_.reset();
    SetFolderDialogForTests(nullptr);
    OrimoApplication::SetErrorBoxForTests(nullptr);
    ASSERT_EQ(chdir(oldCwd_.c_str()), 0);
  }

  void WriteIni(const std::string& opt) { WriteFile(Ini(), "[DIR]\r\n[OPT]\r\n" + opt); }
  std::string Ini() const { return dir_ / "Orimo.ini"; }
  std::string Opt(const char* key) const { return IniProfile::ReadString(Ini(), "OPT", key, "<none>"); }

  TForm1& Open() {
    form_ = std::make_unique<TForm1>();
    TForm1::MessageBoxes boxes;
    boxes.notice = [this](const std::string& t) { shown_.push_back("notice:" + t); };
    boxes.okCancel = [this](const std::string& t, const std::string& c) {
      shown_.push_back("okcancel:" + c + ":" + t);
      return false;
    };
    boxes.yesNo = [this](const std::string& t, const std::string& c) {
      shown_.push_back("yesno:" + c + ":" + t);
      return false;
    };
    boxes.error = [this](const std::string& t) { shown_.push_back("error:" + t); };
    form_->SetMessageBoxes(boxes);
    return *form_;
  }

  // Closes the window as the program's end does: FormDestroy saves the settings.
  void Close() { form_.reset(); }

  TempDir dir_;
  std::string oldCwd_;
  std::unique_ptr<TForm1> form_;
  std::vector<std::string> shown_;
};

// ---------------------------------------------------------------------------------------------

TEST_F(WindowTest, FirstStartShowsDefaultsAndCreatesTheSettingsFile) {
  TForm1& f = Open();
  EXPECT_EQ(f.windowTitle().toStdString(), "Orimo Ver.1.01");
  EXPECT_EQ(f.Fields().BaseDir, dir_.path());
  for (FolderPanel p : {FolderPanel::OrganiseSource, FolderPanel::OrganiseDestination, FolderPanel::ResizeSource,
                        FolderPanel::ResizeDestination}) {
    EXPECT_EQ(f.FolderText(p), "/");
    EXPECT_EQ(f.FolderPanelWidget(p)->alignment(), Qt::AlignCenter);
  }
  EXPECT_EQ(f.PageControl1->currentIndex(), 0);
  ASSERT_EQ(f.PageControl1->count(), 3);
  EXPECT_EQ(f.PageControl1->tabText(0).toStdString(), "整理実行");
  EXPECT_EQ(f.PageControl1->tabText(1).toStdString(), "JPEGサイズ変更");
  EXPECT_EQ(f.PageControl1->tabText(2).toStdString(), "環境設定＆削除");
  const RunOptions o = f.Options();
  EXPECT_EQ(o.types, (std::array<bool, 6>{true, false, false, false, false, false}));
  EXPECT_EQ(o.dateBasis, 0);
  EXPECT_TRUE(o.markOrganised);
  EXPECT_TRUE(o.markDuplicates);
  EXPECT_EQ(o.sizePreset, 1);
  EXPECT_EQ(Opt("ModSize"), "1");
  EXPECT_EQ(f.Log().LogPath(), dir_ / "Log.txt");
  EXPECT_EQ(f.Log().BackupPath(), dir_ / "Log.bak");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(WindowTest, StartUpWritesBackTheSizePresetOnlyWhenItChangesTheSelection) {
  struct Case {
    const char* stored;  // nullptr: no file at all
    int selected;
    const char* afterStart;
    bool fileUntouched;
  };
  const Case kCases[] = {
      {nullptr, 1, "1", false}, {"7", 4, "4", false}, {"-3", -1, "-3", true},
      {"abc", 1, "1", false},   {"2", 2, "2", true},  {"0", 0, "0", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.stored ? c.stored : "(no file)");
    std::remove(Ini().c_str());
    if (c.stored) WriteIni(std::string("ModSize=") + c.stored + "\r\n");
    const std::string before = ReadFile(Ini());
    TForm1& f = Open();
    EXPECT_EQ(f.RadioGroup3->ItemIndex(), c.selected);
    for (int i = 0; i < f.RadioGroup3->Count(); ++i) EXPECT_EQ(f.RadioGroup3->Button(i)->isChecked(), i == c.selected);
    EXPECT_EQ(Opt("ModSize"), c.afterStart);
    if (c.fileUntouched) {
      EXPECT_EQ(ReadFile(Ini()), before);
    }
    Close();
    EXPECT_EQ(Opt("ModSize"), c.afterStart);  // the exit save leaves the preset alone
  }
  // The user's choice is written at once.
  TForm1& f = Open();
  f.RadioGroup3->Button(3)->click();
  EXPECT_EQ(Opt("ModSize"), "3");
  EXPECT_EQ(f.Options().sizePreset, 3);
}

TEST_F(WindowTest, BmpTickedAtStartForcesTheFileDateAndTheExitSavesIt) {
  WriteIni("BMP=0\r\nSearch=0\r\nJPEG=1\r\nChecked=1\r\n");
  TForm1& f = Open();
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
  EXPECT_FALSE(f.CheckBox1->isChecked());
  EXPECT_TRUE(f.CheckBox2->isChecked());
  EXPECT_FALSE(f.CheckBox3->isChecked());
  f.Panel8->SetCaption("");
  Close();
  const std::pair<const char*, const char*> kSaved[] = {{"Search", "1"}, {"BMP", "0"},     {"JPEG", "1"},
                                                        {"MOV", "1"},    {"Checked", "1"}, {"Double", "0"}};
  for (auto [key, value] : kSaved) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Opt(key), value);
  }
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "Read", "<none>"), "/");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModRead", "<none>"), "");
}

TEST_F(WindowTest, DateBasisRuleOnTheRealControls) {
  TForm1& f = Open();
  ASSERT_EQ(f.RadioGroup1->ItemIndex(), 0);

  // A non-JPEG type switches to the file date; unticking leaves it; the capture date is then
  // accepted again. A user click goes through the radio button itself.
  f.CheckBox5->click();
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
  f.CheckBox5->click();
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
  f.RadioGroup1->Button(0)->click();
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 0);
  EXPECT_TRUE(f.RadioGroup1->Button(0)->isChecked());

  // With BMP ticked, choosing the capture date springs back at once.
  f.CheckBox2->setChecked(true);
  ASSERT_EQ(f.RadioGroup1->ItemIndex(), 1);
  f.RadioGroup1->Button(0)->click();
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
  EXPECT_TRUE(f.RadioGroup1->Button(1)->isChecked());
  EXPECT_FALSE(f.RadioGroup1->Button(0)->isChecked());
  f.CheckBox2->setChecked(false);

  // JPEG never moves the basis, either way.
  for (int basis : {0, 1}) {
    f.RadioGroup1->SetItemIndex(basis);
    f.CheckBox1->click();
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), basis);
    f.CheckBox1->click();
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), basis);
  }

  // Each video box applies the rule.
  for (QCheckBox* box : {f.CheckBox6, f.CheckBox7, f.CheckBox8}) {
    SCOPED_TRACE(box->text().toStdString());
    f.RadioGroup1->SetItemIndex(0);
    box->setChecked(true);
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
    box->setChecked(false);
  }
}

TEST_F(WindowTest, RadioGroupItemIndexSemantics) {
  QWidget parent;
  RadioGroup g(QStringLiteral("g"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, &parent);
  int clicks = 0;
  g.OnClick = [&] { ++clicks; };
  g.SetItemIndex(1);
  g.SetItemIndex(1);  // already selected: nothing
  EXPECT_EQ(clicks, 1);
  g.Button(1)->click();  // a click on the selected item keeps it selected
  EXPECT_TRUE(g.Button(1)->isChecked());
  EXPECT_EQ(clicks, 1);
  g.SetItemIndex(-5);  // clamped to "none": no item clicked, no handler
  EXPECT_EQ(g.ItemIndex(), -1);
  EXPECT_EQ(clicks, 1);
  for (int i = 0; i < g.Count(); ++i) EXPECT_FALSE(g.Button(i)->isChecked());
  g.SetItemIndex(9);
  EXPECT_EQ(g.ItemIndex(), 2);
  EXPECT_EQ(clicks, 2);
}

TEST_F(WindowTest, FolderCaptionAlignmentCountsCp932Bytes) {
  std::string kanji33;
  for (int i = 0; i < 33; ++i) kanji33 += "写";  // 66 bytes in CP932
  struct Case {
    FolderPanel panel;
    std::string caption;
    bool right;
  };
  const Case kCases[] = {
      {FolderPanel::OrganiseSource, "/" + std::string(64, 'a'), false},
      {FolderPanel::OrganiseSource, "/" + std::string(65, 'a'), true},
      {FolderPanel::OrganiseDestination, kanji33.substr(0, 32 * 3) + "a", false},  // 65 bytes
      {FolderPanel::OrganiseDestination, kanji33, true},                           // 66 bytes
      {FolderPanel::ResizeSource, std::string(35, 'b'), false},
      {FolderPanel::ResizeSource, std::string(36, 'b'), true},
      {FolderPanel::ResizeDestination, kanji33.substr(0, 17 * 3) + "b", false},  // 35 bytes
      {FolderPanel::ResizeDestination, kanji33.substr(0, 18 * 3), true},         // 36 bytes
  };
  const char* keys[] = {"Read", "Write", "ModRead", "ModWrite"};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    std::remove(Ini().c_str());
    // The start-up rule and the drop rule are the same; check both.
    {
      IniProfile::WriteString(Ini(), "DIR", keys[static_cast<int>(c.panel)], c.caption);
      TForm1& f = Open();
      const Qt::Alignment want = c.right ? (Qt::AlignRight | Qt::AlignVCenter) : Qt::AlignCenter;
      EXPECT_EQ(f.FolderPanelWidget(c.panel)->alignment(), want);
      f.FolderPanelWidget(c.panel)->setAlignment(Qt::AlignLeft);
      switch (c.panel) {
        case FolderPanel::OrganiseSource: f.Panel1DropFiles({c.caption}); break;
        case FolderPanel::OrganiseDestination: f.Panel2DropFiles({c.caption}); break;
        case FolderPanel::ResizeSource: f.Panel8DropFiles({c.caption}); break;
        case FolderPanel::ResizeDestination: f.Panel10DropFiles({c.caption}); break;
      }
      EXPECT_EQ(f.FolderPanelWidget(c.panel)->alignment(), want);
      EXPECT_EQ(f.FolderText(c.panel), c.caption);
    }
  }
}

TEST_F(WindowTest, DropsAndBrowseWriteTheirKeyAndRefuseWhatTheyCannotTake) {
  TForm1& f = Open();
  f.Panel2DropFiles({"/photos/in"});
  EXPECT_EQ(f.Panel2->Caption(), "/photos/in");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "Write", "<none>"), "/photos/in");

  f.Panel2DropFiles({"/a", "/b"});
  EXPECT_EQ(f.Panel2->Caption(), "/photos/in");
  f.Panel2DropFiles({});
  const std::string tooLong = "/" + std::string(259, 'x');  // 260 bytes
  f.Panel10DropFiles({tooLong});
  EXPECT_EQ(f.Panel10->Caption(), "/");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModWrite", "<none>"), "<none>");
  f.Panel10DropFiles({"/photos/\xF0\x9F\x93\xB7"});  // a camera emoji: no CP932 form
  EXPECT_EQ(f.Panel10->Caption(), "/");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModWrite", "<none>"), "<none>");
  EXPECT_EQ(shown_, (std::vector<std::string>{"notice:フォルダをドロップして下さい！", "notice:フォルダをドロップして下さい！",
                                              std::string("notice:") + TForm1::kPathTooLong,
                                              std::string("notice:") + TForm1::kPathNotStorable}));
  shown_.clear();

  // Browse: the dialog opens on the caption; a cancel empties the caption and writes nothing.
  std::vector<std::string> starts;
  std::string answer = "/chosen/folder";
  SetFolderDialogForTests([&](const std::string& start) {
    starts.push_back(start);
    return answer;
  });
  f.Action8->trigger();
  EXPECT_EQ(f.Panel8->Caption(), "/chosen/folder");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModRead", "<none>"), "/chosen/folder");
  EXPECT_EQ(std::string(f.BrowseBuffer.data()), "/chosen/folder");
  answer = "";
  f.N7->trigger();  // the menu entry runs the same action
  EXPECT_EQ(f.Panel8->Caption(), "");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModRead", "<none>"), "/chosen/folder");
  EXPECT_EQ(starts, (std::vector<std::string>{"/", "/chosen/folder"}));
  answer = "/" + std::string(259, 'y');
  f.BitBtn1->click();
  EXPECT_EQ(f.Panel1->Caption(), "/");
  EXPECT_EQ(shown_, (std::vector<std::string>{std::string("notice:") + TForm1::kPathTooLong}));
  answer = "/" + std::string(258, 'y');  // 259 bytes: taken
  f.BitBtn1->click();
  EXPECT_EQ(f.Panel1->Caption(), answer);
  EXPECT_EQ(f.Panel1->alignment(), Qt::AlignRight | Qt::AlignVCenter);
}

// A real drop event, as the window system delivers it, through the application's event filters.
void DropOn(QWidget* panel, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& p : paths) urls.push_back(QUrl::fromLocalFile(p));
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(panel, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(panel, &drop);
  QCoreApplication::processEvents();  // the handler runs once the drop has ended
}

TEST_F(WindowTest, DropEventsReachTheirPanelHandlerAlsoDuringARun) {
  TForm1& f = Open();
  f.SetBusy(BusyKind::Resize, true);
  DropOn(f.Panel8, {QStringLiteral("/pictures/新しいフォルダ")});
  EXPECT_EQ(f.Panel8->Caption(), "/pictures/新しいフォルダ");
  EXPECT_EQ(f.FolderText(FolderPanel::ResizeSource), "/pictures/新しいフォルダ");
  EXPECT_EQ(IniProfile::ReadString(Ini(), "DIR", "ModRead", "<none>"), "/pictures/新しいフォルダ");
  DropOn(f.Panel1, {QStringLiteral("/a"), QStringLiteral("/b")});
  EXPECT_EQ(f.Panel1->Caption(), "/");
  EXPECT_EQ(shown_, (std::vector<std::string>{"notice:フォルダをドロップして下さい！"}));
  f.SetBusy(BusyKind::Resize, false);
}

TEST_F(WindowTest, BusyStateFollowsTheTableForBothRuns) {
  TForm1& f = Open();
  QAction* actions[] = {f.Action1, f.Action2, f.Action3, f.Action4, f.Action5,
                        f.Action6, f.Action7, f.Action8, f.Action9, f.Action10};
  QWidget* alwaysOff[] = {f.CheckBox1, f.CheckBox2, f.CheckBox3, f.CheckBox4, f.RadioGroup1, f.RadioGroup3};
  QWidget* videoBoxes[] = {f.CheckBox5, f.CheckBox6, f.CheckBox7, f.CheckBox8};
  QWidget* stayOn[] = {f.Panel3, f.Panel4, f.Panel5, f.Panel6, f.Panel7, f.Panel9, f.Panel1, f.Panel10};
  for (BusyKind kind : {BusyKind::Organise, BusyKind::Resize}) {
    SCOPED_TRACE(kind == BusyKind::Organise ? "organise" : "resize");
    f.SetBusy(kind, true);
    for (QAction* a : actions) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    for (QWidget* w : alwaysOff) EXPECT_FALSE(w->isEnabled());
    for (QWidget* w : videoBoxes) EXPECT_EQ(w->isEnabled(), kind == BusyKind::Resize);
    for (QWidget* w : stayOn) EXPECT_TRUE(w->isEnabled());
    for (QAction* m : {f.N3, f.N4, f.Exif1, f.N6, f.N9, f.N10, f.N5, f.Exit1}) EXPECT_TRUE(m->isEnabled());
    if (kind == BusyKind::Resize) {
      // A video box ticked during a resize run moves the disabled basis group.
      f.CheckBox7->setChecked(true);
      EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
    }
    f.SetBusy(kind, false);
    for (QAction* a : actions) EXPECT_TRUE(a->isEnabled());
    for (QWidget* w : alwaysOff) EXPECT_TRUE(w->isEnabled());
    for (QWidget* w : videoBoxes) EXPECT_TRUE(w->isEnabled());
  }
}

TEST_F(WindowTest, ActionStateAndCaptionReachButtonsAndMenuEntries) {
  TForm1& f = Open();
  const std::tuple<QAction*, ActionButton*, QAction*> kBound[] = {
      {f.Action1, f.BitBtn1, f.N1}, {f.Action2, f.BitBtn2, f.N2}, {f.Action8, f.BitBtn9, f.N7},
      {f.Action9, f.BitBtn10, f.N8}, {f.Action3, f.BitBtn3, nullptr}, {f.Action10, f.BitBtn8, nullptr},
      {f.Action4, f.BitBtn4, nullptr}, {f.Action5, f.BitBtn7, nullptr}, {f.Action6, f.BitBtn5, nullptr},
      {f.Action7, f.BitBtn6, nullptr},
  };
  for (auto [action, button, entry] : kBound) {
    SCOPED_TRACE(action->text().toStdString());
    EXPECT_EQ(button->text(), action->text());
    EXPECT_FALSE(button->icon().isNull());
    if (entry && entry != f.N8) {
      EXPECT_EQ(entry->text(), action->text());
    }
    action->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    if (entry) {
      EXPECT_FALSE(entry->isEnabled());
    }
    action->setEnabled(true);
    EXPECT_TRUE(button->isEnabled());
    if (entry) {
      EXPECT_TRUE(entry->isEnabled());
    }
  }
  EXPECT_EQ(f.N8->text().toStdString(), "変換後");
  EXPECT_EQ(f.BitBtn3->text().toStdString(), "日付ファイル名に変更＆整理開始");
  EXPECT_GE(f.ImageList1.size(), 8u);

  // Menus in their order.
  auto texts = [](QMenu* m) {
    std::vector<std::string> t;
    for (QAction* a : m->actions()) t.push_back(a->text().toStdString());
    return t;
  };
  EXPECT_EQ(texts(f.FileMenu), (std::vector<std::string>{"整理元", "整理先", "変換元", "変換後", "終了"}));
  EXPECT_EQ(texts(f.FolderMenu), (std::vector<std::string>{"整理元フォルダ", "整理先フォルダ", "Exif規格外フォルダ",
                                                           "重複再確認フォルダ", "変換元フォルダ", "変換先フォルダ"}));
  EXPECT_EQ(texts(f.HelpMenu), (std::vector<std::string>{"簡易マニュアルを見る"}));
}

TEST_F(WindowTest, ShortcutsReportMissingFoldersThroughTheNotice) {
  TForm1& f = Open();
  f.Panel1->SetCaption("");
  f.Panel2->SetCaption("***");
  f.N3Click();
  f.Panel6Click();
  f.Exif1Click();
  f.Panel3Click();
  EXPECT_EQ(shown_, (std::vector<std::string>{"notice:ディレクトリパスが無効です", "notice:ディレクトリが存在しません",
                                              "notice:ディレクトリが存在しません", "notice:ディレクトリが存在しません"}));
}

TEST_F(WindowTest, PlatformErrorInACommandReachesTheGeneralErrorHandler) {
  TForm1& f = Open();
  std::vector<std::string> errors;
  OrimoApplication::SetErrorBoxForTests([&](const std::string& t) { errors.push_back(t); });
  // The settings file turns into a folder: the next folder write cannot replace it.
  std::remove(Ini().c_str());
  test::MakeDirs(Ini());
  SetFolderDialogForTests([](const std::string&) { return std::string("/somewhere"); });
  QMetaObject::invokeMethod(f.BitBtn2, &QAbstractButton::click, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("に書き込めません"), std::string::npos) << errors[0];
  EXPECT_TRUE(f.Action2->isEnabled());  // the window carries on
  // The exit save fails the same way; it is reported, not thrown.
  Close();
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].rfind("error:", 0), 0u);
}

TEST_F(WindowTest, SettingsWriteFailureDuringConstructionEscapesTheConstructor) {
  // A folder where the settings file should be: the ModSize write-back cannot replace it.
  test::MakeDirs(Ini());
  EXPECT_THROW(TForm1 f, PlatformError);
}

TEST_F(WindowTest, ClosingDuringARunWaitsForItsEnd) {
  TForm1& f = Open();
  f.show();
  f.SetBusy(BusyKind::Organise, true);
  f.Exit1->trigger();
  EXPECT_TRUE(f.isVisible());
  f.SetBusy(BusyKind::Organise, false);
  EXPECT_TRUE(f.isVisible());  // closes once control is back in the loop
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.isVisible());
}

// The main window and the prompts it owns carry style sheets; their controls must still take the
// window's face, not the desktop's default one.
TEST_F(WindowTest, ControlsOfTheWindowAndItsPromptsUseTheWindowFace) {
  TForm1& f = Open();
  TForm2 duplicate(f.Fields(), &f);
  TForm3 nonExif(f.Fields(), &f);
  f.show();
  const std::pair<QWidget*, int> kControls[] = {
      {f.Panel1, 12},          {f.Panel10, 12},       {f.BitBtn3, 12},        {f.BitBtn4, 12},
      {f.CheckBox1, 12},       {f.CheckBox3, 12},     {f.GroupBox2, 12},      {f.RadioGroup1, 12},
      {f.Panel5, 16},          {duplicate.Label1, 12}, {duplicate.BitBtn5, 12}, {duplicate.BitBtn4, 12},
      {nonExif.BitBtn4, 12},   {nonExif.Label2, 12},
  };
  for (auto [control, pixels] : kControls) {
    SCOPED_TRACE(control->metaObject()->className());
    EXPECT_EQ(control->font().family().toStdString(), "IPAPGothic");
    EXPECT_EQ(control->font().pixelSize(), pixels);
  }
  for (QRadioButton* item : f.RadioGroup3->findChildren<QRadioButton*>()) {
    EXPECT_EQ(item->font().family().toStdString(), "IPAPGothic");
  }
  // In that face every prompt caption shows whole inside its button.
  for (PictureButton* button : {duplicate.BitBtn1, duplicate.BitBtn2, duplicate.BitBtn3, duplicate.BitBtn4,
                                duplicate.BitBtn5, nonExif.BitBtn1, nonExif.BitBtn2, nonExif.BitBtn3, nonExif.BitBtn4}) {
    SCOPED_TRACE(button->text().toStdString());
    EXPECT_LE(QFontMetrics(button->CaptionFont()).horizontalAdvance(button->text()), button->width() - 6);
  }
}

TEST_F(WindowTest, ToolkitDialogsSpeakJapanese) {
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFileInfo::exists(dir + QStringLiteral("/qtbase_ja.qm"))) GTEST_SKIP() << "no Japanese Qt translations";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString(), "はい(&Y)");
}

TEST_F(WindowTest, DesignedGeometryAndStretching) {
  TForm1& f = Open();
  f.show();
  // The designed sizes are outer sizes: the frame, if the platform draws one, comes off.
  const int frame = f.frameGeometry().width() - f.width();
  EXPECT_EQ(f.frameGeometry().width(), 517);
  f.resize(517 - frame, 412);
  EXPECT_EQ(f.Panel1->geometry(), QRect(104, 48, 385, 57));
  EXPECT_EQ(f.Panel10->geometry(), QRect(208, 152, 280, 57));
  EXPECT_EQ(f.GroupBox2->geometry(), QRect(154, 16, 337, 81));
  EXPECT_EQ(f.Panel3->geometry(), QRect(118, 24, 17, 17));
  EXPECT_EQ(f.ProgressBar1->height(), 25);
  for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(f.PageControl1->tabBar()->tabRect(tab).size(), QSize(100, 20)) << tab;
  EXPECT_EQ(f.font().family().toStdString(), "IPAPGothic");
  EXPECT_EQ(f.font().pixelSize(), 12);
  f.resize(617 - frame, 412);
  EXPECT_EQ(f.Panel1->geometry(), QRect(104, 48, 485, 57));
  EXPECT_EQ(f.BitBtn8->geometry(), QRect(8, 223, 581, 65));
  EXPECT_EQ(f.GroupBox3->geometry(), QRect(254, 104, 337, 81));
  EXPECT_EQ(f.Panel4->geometry(), QRect(156, 164, 17, 17));
}

}  // namespace
}  // namespace orimo

int main(int argc, char** argv) {
  // Test discovery runs the binary without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  orimo::OrimoApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
