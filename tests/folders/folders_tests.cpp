#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QWidget>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "folders/browse.h"
#include "folders/drop_hook.h"
#include "folders/shell.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::MakeDirs;
using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

// Records what the desktop was asked to open and answers as told.
class RecordingOpener : public DesktopOpener {
 public:
  bool answer = true;
  Names opened;
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return answer;
  }
};

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override { SetDesktopOpener(&opener); }
  void TearDown() override { SetDesktopOpener(nullptr); }
  NoticeFn Notices() {
    return [this](const std::string& text) { notices.push_back(text); };
  }
  TempDir dir;
  RecordingOpener opener;
  Names notices;
};

TEST_F(Shortcuts, FolderChecksBeforeTheDesktop) {
  MakeDirs(dir / "ExifNG");
  WriteFile(dir / "Manual.txt", "text");
  struct Case {
    std::string path;
    Names notices;
    Names opened;
  } const kCases[] = {
      {"", {"ディレクトリパスが無効です"}, {}},
      {"***", {"ディレクトリが存在しません"}, {}},
      {dir / "Recheck", {"ディレクトリが存在しません"}, {}},  // not made yet
      {dir / "Manual.txt", {"ディレクトリが存在しません"}, {}},  // a file is no folder
      {dir / "ExifNG", {}, {dir / "ExifNG"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    notices.clear();
    opener.opened.clear();
    OpenFolderInShell(c.path, Notices());
    EXPECT_EQ(notices, c.notices);
    EXPECT_EQ(opener.opened, c.opened);
  }
}

TEST_F(Shortcuts, DesktopRefusingAFolderIsNotReported) {
  opener.answer = false;
  OpenFolderInShell(dir.path(), Notices());
  EXPECT_EQ(opener.opened, Names{dir.path()});
  EXPECT_TRUE(notices.empty());
}

TEST_F(Shortcuts, DocumentMissingOrRefused) {
  const std::string manual = dir / "Manual.txt";
  OpenDocument(manual, "", Notices());  // missing: the desktop is not even asked
  EXPECT_EQ(notices, Names{"Could not create process"});
  EXPECT_TRUE(opener.opened.empty());

  WriteFile(manual, "text");
  notices.clear();
  OpenDocument(manual, "", Notices());
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(opener.opened, Names{manual});

  opener.answer = false;  // nothing associated with the type
  OpenDocument(manual, "", Notices());
  EXPECT_EQ(notices, Names{"Could not create process"});
}

TEST_F(Shortcuts, SystemOpenerRefusesAMissingDocument) {
  SetDesktopOpener(nullptr);
  EXPECT_EQ(&CurrentOpener(), &SystemOpener());
  EXPECT_FALSE(SystemOpener().Open(dir / "Manual.txt"));
  OpenDocument(dir / "Manual.txt", "", Notices());
  EXPECT_EQ(notices, Names{"Could not create process"});
}

// The desktop is asked for the application of the document's type: a fake xdg-mime on PATH
// stands in for it.
TEST_F(Shortcuts, AssociatedApplicationComesFromTheDesktop) {
  const std::string manual = dir / "Manual.txt";
  WriteFile(manual, "text");
  const std::string bin = dir / "bin";
  MakeDirs(bin);
  const char* const oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  struct Case {
    const char* name;
    const char* script;  // the fake xdg-mime; nullptr: none on PATH
    bool expected;
  };
  const Case kCases[] = {
      {"nothing associated", "#!/bin/sh\nexit 0\n", false},
      {"nothing associated, told by failure", "#!/bin/sh\nexit 4\n", false},
      {"an editor", "#!/bin/sh\n[ \"$1 $2 $3\" = \"query default text/plain\" ] && echo editor.desktop\n", true},
      {"the desktop cannot tell", "#!/bin/sh\nexit 3\n", true},
      {"no xdg-mime", nullptr, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string tool = bin + "/xdg-mime";
    std::remove(tool.c_str());
    if (c.script) {
      WriteFile(tool, c.script);
      ASSERT_EQ(chmod(tool.c_str(), 0755), 0);
    }
    ::setenv("PATH", (bin + ":/nonexistent").c_str(), 1);
    const bool found = HasAssociatedApplication(manual);
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(found, c.expected);
  }
}

// A widget that records the drops that reach it; it takes drags only when told to.
class Target : public QWidget {
 public:
  using QWidget::QWidget;
  bool takesDrags = false;
  int drops = 0;

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override { e->setAccepted(takesDrags); }
  void dropEvent(QDropEvent* e) override {
    ++drops;
    e->ignore();
  }
};

struct Dropped {
  std::string panel;
  Names paths;
  bool operator==(const Dropped&) const = default;
};

class Drops : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    panel1 = new Target(window.get());
    panel2 = new Target(window.get());
    label = new QWidget(panel1);
    other = new Target(window.get());
    other->setAcceptDrops(true);
    other->takesDrags = true;
    hook.AddPanel(panel1, [this](const Names& p) { dropped.push_back({"Panel1", p}); });
    hook.AddPanel(panel2, [this](const Names& p) { dropped.push_back({"Panel2", p}); });
    qApp->installEventFilter(&hook);
    window->show();
  }
  void TearDown() override { qApp->removeEventFilter(&hook); }

  static QMimeData* Urls(const std::vector<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(QList<QUrl>(urls.begin(), urls.end()));
    return data;
  }
  // Drags `urls` onto `widget` and drops them there, as a real drag does; true when the drop
  // was accepted.
  static bool Drop(QWidget* widget, const std::vector<QUrl>& urls) {
    std::unique_ptr<QMimeData> data(Urls(urls));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(widget, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QCoreApplication::sendEvent(widget, &drop);
    QCoreApplication::processEvents();  // the handler's turn
    return drop.isAccepted();
  }
  static bool Enter(QWidget* widget, const std::vector<QUrl>& urls) {
    std::unique_ptr<QMimeData> data(Urls(urls));
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QCoreApplication::sendEvent(widget, &event);
    return event.isAccepted();
  }
  static QUrl File(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

  TempDir dir;
  DropHook hook;
  std::unique_ptr<QWidget> window;
  Target* panel1;
  Target* panel2;
  QWidget* label;
  Target* other;
  std::vector<Dropped> dropped;
};

TEST_F(Drops, PanelsAcceptDropsOnceAdded) {
  EXPECT_TRUE(panel1->acceptDrops());
  EXPECT_TRUE(panel2->acceptDrops());
  EXPECT_TRUE(Enter(panel1, {File(dir.path())}));
  EXPECT_FALSE(Enter(panel2, {QUrl("https://example.com/a.jpg")}));  // no local path: refused
  EXPECT_TRUE(dropped.empty());
}

TEST_F(Drops, HandedToThePanelWithTheirPaths) {
  MakeDirs(dir / "写真");
  WriteFile(dir / "a.jpg", "x");
  struct Case {
    const char* what;
    QWidget* widget;
    std::vector<QUrl> urls;
    Dropped expected;
  } const kCases[] = {
      {"one folder", panel1, {File(dir / "写真")}, {"Panel1", {dir / "写真"}}},
      {"one file", panel2, {File(dir / "a.jpg")}, {"Panel2", {dir / "a.jpg"}}},
      {"two items", panel1, {File(dir / "写真"), File(dir / "a.jpg")}, {"Panel1", {dir / "写真", dir / "a.jpg"}}},
      {"folder URL ending in /", panel2, {QUrl::fromLocalFile(QString::fromStdString(dir / "写真/"))},
       {"Panel2", {dir / "写真"}}},
      {"the root stays /", panel2, {File("/")}, {"Panel2", {"/"}}},
      {"a web link counts, with no path", panel1, {File(dir / "a.jpg"), QUrl("https://example.com/b.jpg")},
       {"Panel1", {dir / "a.jpg", ""}}},
      {"on a child of the panel", label, {File(dir / "a.jpg")}, {"Panel1", {dir / "a.jpg"}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    dropped.clear();
    EXPECT_TRUE(Drop(c.widget, c.urls));
    EXPECT_EQ(dropped, std::vector<Dropped>{c.expected});
  }
  EXPECT_EQ(panel1->drops + panel2->drops, 0);  // the hook took them all
}

// The drop is over before its handler runs: a handler's message box cannot hold the source's
// drag open. A hook that is gone by then hands nothing over.
TEST_F(Drops, HandlerRunsAfterTheDropHasEnded) {
  std::unique_ptr<QMimeData> data(Urls({File(dir.path())}));
  ASSERT_TRUE(Enter(panel2, {File(dir.path())}));
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  drop.ignore();
  QCoreApplication::sendEvent(panel2, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_TRUE(dropped.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(dropped, (std::vector<Dropped>{{"Panel2", {dir.path()}}}));

  dropped.clear();
  {
    DropHook shortLived;
    shortLived.AddPanel(other, [this](const Names& p) { dropped.push_back({"Other", p}); });
    QDropEvent again(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    again.ignore();
    qApp->installEventFilter(&shortLived);
    ASSERT_TRUE(Enter(other, {File(dir.path())}));
    QCoreApplication::sendEvent(other, &again);
    EXPECT_TRUE(again.isAccepted());
    qApp->removeEventFilter(&shortLived);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(dropped.empty());
}

TEST_F(Drops, OtherWidgetsAndOtherDragsPassUntouched) {
  EXPECT_FALSE(Drop(other, {File(dir.path())}));
  EXPECT_EQ(other->drops, 1);  // reached the widget itself
  EXPECT_FALSE(Drop(panel1, {QUrl("https://example.com/b.jpg")}));  // refused at the door
  EXPECT_EQ(panel1->drops, 0);
  EXPECT_TRUE(dropped.empty());
}

TEST_F(Drops, APanelThatIsGoneIsPassedOver) {
  delete panel1;
  label = nullptr;
  EXPECT_TRUE(Drop(panel2, {File(dir.path())}));
  EXPECT_EQ(dropped, (std::vector<Dropped>{{"Panel2", {dir.path()}}}));
}

// The route a real drag takes: the window hands the events to the widget under the cursor
// that accepts drops, here the panel under its own caption label.
TEST_F(Drops, ThroughTheWindowToThePanelUnderTheCursor) {
  window->resize(300, 200);
  panel1->setGeometry(10, 10, 100, 50);
  label->setGeometry(0, 0, 100, 50);
  panel2->setGeometry(150, 10, 100, 50);
  other->setGeometry(0, 0, 0, 0);
  ASSERT_NE(window->windowHandle(), nullptr);
  struct Case {
    QPoint at;
    std::vector<Dropped> expected;
  } const kCases[] = {
      {{20, 20}, {{"Panel1", {dir.path()}}}},
      {{200, 40}, {{"Panel2", {dir.path()}}}},
      {{150, 150}, {}},  // no panel there
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.at.x());
    dropped.clear();
    std::unique_ptr<QMimeData> data(Urls({File(dir.path())}));
    QDragEnterEvent enter(c.at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &enter);
    QDropEvent drop(QPointF(c.at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(dropped, c.expected);
    EXPECT_EQ(drop.isAccepted(), !c.expected.empty());
  }
}

class Browse : public ::testing::Test {
 protected:
  void TearDown() override { SetFolderDialogForTests({}); }
  // Runs `act` on the folder dialog once it is up, inside its modal loop.
  static void WhenDialogShows(std::function<void(QFileDialog*)> act) {
    QTimer::singleShot(0, [act] {
      QFileDialog* dialog = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) dialog = d;
      }
      if (!dialog) {
        ADD_FAILURE() << "no folder dialog showed";
        return;
      }
      act(dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }
  TempDir dir;
};

TEST_F(Browse, SeamGetsTheStartPath) {
  Names starts;
  SetFolderDialogForTests([&](const std::string& start) {
    starts.push_back(start);
    return start == "***" ? std::string() : dir.path();
  });
  EXPECT_EQ(BrowseForFolder(nullptr, "/usr"), dir.path());
  EXPECT_EQ(BrowseForFolder(nullptr, "***"), "");  // cancelled
  EXPECT_EQ(starts, (Names{"/usr", "***"}));
}

TEST_F(Browse, DialogOpensOnTheStartFolder) {
  struct Case {
    std::string start;
    QString opensOn;
  } const kCases[] = {
      {dir.path(), QString::fromStdString(dir.path())},
      {"***", QDir::homePath()},
      {"", QDir::homePath()},
      {dir / "missing", QDir::homePath()},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.start);
    QString title, opensOn;
    bool nonNative = false, dirsOnly = false, typable = false;
    WhenDialogShows([&](QFileDialog* d) {
      title = d->windowTitle();
      opensOn = d->directory().absolutePath();
      nonNative = d->testOption(QFileDialog::DontUseNativeDialog);
      dirsOnly = d->fileMode() == QFileDialog::Directory && d->testOption(QFileDialog::ShowDirsOnly);
      typable = d->findChild<QLineEdit*>() != nullptr;
    });
    EXPECT_EQ(BrowseForFolder(nullptr, c.start), "");  // closed without a choice
    EXPECT_EQ(title, QStringLiteral("フォルダを選択してください"));
    EXPECT_EQ(opensOn, c.opensOn);
    EXPECT_TRUE(nonNative);
    EXPECT_TRUE(dirsOnly);
    EXPECT_TRUE(typable);
  }
}

TEST_F(Browse, TypedPathIsTheChoice) {
  MakeDirs(dir / "月別");
  WhenDialogShows([&](QFileDialog* d) {
    auto* edit = d->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromStdString(dir / "月別"));
    static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
  });
  EXPECT_EQ(BrowseForFolder(nullptr, dir.path()), dir / "月別");
}

}  // namespace
}  // namespace orimo

int main(int argc, char** argv) {
  // Test discovery runs the suite without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
