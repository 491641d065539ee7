#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/run_host.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QMenu;
class QProgressBar;
class QTabWidget;

namespace orimo {

class ActionButton;
class DropHook;
class Panel;
class RadioGroup;
class TForm2;
class TForm3;

// The main window: three pages of folders, options and commands. It is the RunHost through
// which every run reads the folders and options and reports.
class TForm1 : public QMainWindow, public RunHost {
  Q_OBJECT
 public:
  // Builds the window and runs the start-up steps: log, BaseDir (the current directory),
  // settings load with its ModSize write-back, caption alignment, drop targets. A failing
  // settings write raises PlatformError out of the constructor.
  explicit TForm1(QWidget* parent = nullptr);
  // FormDestroy: saves the settings, then releases the log.
  ~TForm1() override;

  // The message boxes the window shows; tests replace them to record and answer.
  struct MessageBoxes {
    std::function<void(const std::string& text)> notice;
    std::function<bool(const std::string& text, const std::string& caption)> okCancel;
    std::function<bool(const std::string& text, const std::string& caption)> yesNo;
    std::function<void(const std::string& text)> error;
  };
  // The real boxes, modal over `parent`: notices captioned "Orimo" with OK, questions with exactly
  // the buttons named, no icons; errors through the general error box.
  static MessageBoxes RealMessageBoxes(QWidget* parent);
  void SetMessageBoxes(MessageBoxes boxes) { boxes_ = std::move(boxes); }

  // RunHost
  std::string FolderText(FolderPanel panel) override;
  RunOptions Options() override;
  RunFields& Fields() override { return fields_; }
  TLOG& Log() override { return *log_; }
  void SetBusy(BusyKind kind, bool busy) override;
  void SetProgressMax(int maximum) override;
  void SetProgress(int position) override;
  int Progress() override;
  void ProcessMessages() override;
  void Notice(const std::string& text) override;
  bool AskOkCancel(const std::string& text, const std::string& caption) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text) override;
  void ShowDuplicatePrompt() override;
  void ShowNonExifPrompt() override;

  // Commands.
  void Action1Execute();
  void Action2Execute();
  void Action3Execute();
  void Action4Execute();
  void Action5Execute();
  void Action6Execute();
  void Action7Execute();
  void Action8Execute();
  void Action9Execute();
  void Action10Execute();

  // Option rules.
  void CheckBox2Click();
  void CheckBox5Click();
  void CheckBox6Click();
  void CheckBox7Click();
  void CheckBox8Click();
  void RadioGroup1Click();
  void RadioGroup3Click();

  // Drop targets: the dropped paths, as the drop hook hands them over.
  void Panel1DropFiles(const std::vector<std::string>& paths);
  void Panel2DropFiles(const std::vector<std::string>& paths);
  void Panel8DropFiles(const std::vector<std::string>& paths);
  void Panel10DropFiles(const std::vector<std::string>& paths);

  // Shortcuts.
  void Panel5Click();
  void Panel6Click();
  void Panel7Click();
  void Panel9Click();
  void Panel3Click();
  void Panel4Click();
  void N3Click();
  void N4Click();
  void N9Click();
  void N10Click();
  void Exif1Click();
  void N6Click();
  void N5Click();
  void Exit1Click();

  // The caption alignment rule for one folder panel (right-aligned past its threshold).
  void AlignFolderCaption(FolderPanel panel);
  Panel* FolderPanelWidget(FolderPanel panel) const;
  bool IsBusy() const { return busy_; }

  // Longest folder path the program keeps, in CP932 bytes.
  static constexpr std::size_t kMaxPathBytes = 259;
  static constexpr const char* kPathTooLong = "フォルダのパスが長すぎます（259バイトまで）";
  static constexpr const char* kPathNotStorable = "フォルダのパスに保存できない文字が含まれています";

  std::array<char, 260> BrowseBuffer{};

  // Controls, named as in the design.
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  Panel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel4 = nullptr, *Panel5 = nullptr;
  Panel *Panel6 = nullptr, *Panel7 = nullptr, *Panel8 = nullptr, *Panel9 = nullptr, *Panel10 = nullptr;
  ActionButton *BitBtn1 = nullptr, *BitBtn2 = nullptr, *BitBtn3 = nullptr, *BitBtn4 = nullptr, *BitBtn5 = nullptr;
  ActionButton *BitBtn6 = nullptr, *BitBtn7 = nullptr, *BitBtn8 = nullptr, *BitBtn9 = nullptr, *BitBtn10 = nullptr;
  QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr;
  QCheckBox *CheckBox5 = nullptr, *CheckBox6 = nullptr, *CheckBox7 = nullptr, *CheckBox8 = nullptr;
  RadioGroup *RadioGroup1 = nullptr, *RadioGroup3 = nullptr;
  QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;

  QAction *Action1 = nullptr, *Action2 = nullptr, *Action3 = nullptr, *Action4 = nullptr, *Action5 = nullptr;
  QAction *Action6 = nullptr, *Action7 = nullptr, *Action8 = nullptr, *Action9 = nullptr, *Action10 = nullptr;
  std::vector<QIcon> ImageList1;

  // Menu entries.
  QMenu *FileMenu = nullptr, *FolderMenu = nullptr, *HelpMenu = nullptr;
  QAction *N1 = nullptr, *N2 = nullptr, *N7 = nullptr, *N8 = nullptr, *Exit1 = nullptr;
  QAction *N3 = nullptr, *N4 = nullptr, *Exif1 = nullptr, *N6 = nullptr, *N9 = nullptr, *N10 = nullptr;
  QAction* N5 = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreatePages();
  void CreateMenus();
  void LoadSettingsIntoControls();
  void InstallDropTargets();
  void StretchWithWidth();
  void FormDestroy();

  // False (after a notice) for a path the program cannot keep; the caller then changes nothing.
  bool AcceptPath(const std::string& path);
  void BrowseInto(FolderPanel panel);
  void DropInto(FolderPanel panel, const std::vector<std::string>& paths);
  void OpenFolder(const std::string& path);
  void ForceFileDateIfTicked(QCheckBox* box);

  RunFields fields_;
  std::unique_ptr<TLOG> log_;
  MessageBoxes boxes_;
  DropHook* dropHook_ = nullptr;
  bool busy_ = false;
  bool closeWhenIdle_ = false;
  bool placed_ = false;
};

// The program-wide references to the three windows, set by the entry point.
extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;

}  // namespace orimo
