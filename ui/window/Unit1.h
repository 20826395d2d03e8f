#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <map>
#include <string>

class QAction;
class QCloseEvent;
class QFileDialog;
class QFontDialog;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QMouseEvent;
class TOemMemo;
namespace pl4120 {
struct PrinterSettings;
struct StoredSettings;
struct WriteResult;
}  // namespace pl4120
class TPrinterFinder;
class TPrintProgress;
class TSendSession;
class TSpinEdit;
struct TPreviewSource;
class TTextFile;
namespace pl4120::layout {
struct TWindowLayout;
}

/// The program's one window: the settings page ("Установки") with the printer settings and
/// the text page ("Тексты") with the editor, its file, print and counter controls. Every
/// control is a private member named as the control (its objectName is the same name: others
/// find a control by that name). Handlers read the controls, call the pure functions of
/// printer/ and text/ or the sessions (the text file, the sends), and write the results back.
class TPL4120_1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TPL4120_1(QWidget* parent = nullptr);
  ~TPL4120_1() override;

  /// The text page's file: its name and whether the text was edited.
  TTextFile& TextFile() { return *textFile_; }
  /// The sends: the print queue, the print job, the messages of ended jobs.
  TSendSession& Sending() { return *sending_; }

  // Handlers: each named after its control and event.
  void FormCreate();
  void SetPrint1Click();
  void QuitNoSvClick();
  void QuitSaveClick();
  void InstrucClick();  // also "Index" of the menu "Help"
  void About2Click();
  void Save3Click();     // "Load": the stored settings into the controls
  void Save4Click();     // "Save": the settings stored now
  void btLoadTxClick();  // also "Load Text" of the menu "Text"
  void btMergTxClick();  // also "Merge Text"
  void SaveText1Click();
  void Save2Click();  // "Save Text As ..."
  void btPrinTxClick();
  void bbNxPageClick();
  /// Opens the print preview (Unit1Preview.cpp), or brings the open one to the front.
  void btViewTxClick();
  void edLPtxChange();

  // Every event of the editor that can change its text or move the caret recounts both.
  void mmTextChange();
  void mmTextMouseMove(QMouseEvent* /*event*/) { mmTextChange(); }
  void mmTextMouseDown(QMouseEvent* /*event*/) { mmTextChange(); }
  void mmTextMouseUp(QMouseEvent* /*event*/) { mmTextChange(); }
  void mmTextKeyUp(QKeyEvent* /*event*/) { mmTextChange(); }

  /// The settings page as one value, read from the controls.
  pl4120::PrinterSettings CurrentSettings() const;
  /// Puts a settings value into the controls of the settings page.
  void ApplySettings(const pl4120::PrinterSettings& settings);

  // Settings kept between runs (Unit1Stored.cpp).
  /// What "Выход с сохранением" keeps: the settings page and the text page's options.
  pl4120::StoredSettings CurrentStoredSettings() const;
  void ApplyStoredSettings(const pl4120::StoredSettings& settings);
  /// Puts the settings stored in the user's settings file into the controls: at start, before
  /// the window is shown (the window never does this by itself), and by "Load". A file that
  /// cannot be read, is damaged or holds unusable values is reported in one line of the status
  /// line. Returns false when nothing is stored; the controls then keep what they show.
  bool LoadStoredSettings();
  /// Stores CurrentStoredSettings() in the user's settings file. False, after the error box,
  /// when the file could not be written.
  bool StoreSettings();

  // Saving the text (Unit1Text.cpp). Each returns false, after the error box when saving
  // failed, when the text was not saved.
  /// "Save Text": the editor's bytes back to the text's file; with no current file,
  /// SaveTextAs().
  bool SaveText();
  /// Asks for a file name first, then saves there.
  bool SaveTextAs();
  /// Writes the editor's bytes to the file `path` (a platform file name) in one step; on
  /// success it becomes the current file and the text counts as unedited.
  bool SaveTextTo(const std::string& path);
  /// Before a text edited since it was read or saved would be lost: asks whether to save it.
  /// True when the caller may go on ("Да" and the text saved, or "Нет"), false to stay.
  bool EditedTextSettled();

  // Shared operations of the handlers.
  /// Queues `data` for the device named in PrnName now, as a job titled `title`; returns at
  /// once with the job's number. A failure comes later, as the error box.
  quint64 SendToDevice(std::string data, std::string title);
  /// The same for "Распечатка текста": the print button is held until the job ends.
  quint64 PrintToDevice(std::string data, std::string title);
  /// While jobs wait or run: asks whether to stop printing and close. True when the window
  /// may close (nothing is printing, or the user said yes: the jobs are then cancelled). The
  /// last question before closing: what else is asked comes first.
  bool ConfirmCloseWhilePrinting();
  void ReadTextFileIntoEditor();
  void UpdateTextCounters();
  void UpdateCaretPosition();
  void ShowApplicationHint();
  /// Writes the control's mouse-move text (HintTexts.h) into the status line.
  void ShowMouseMoveText(const QWidget* control);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  /// Every way of closing the window ends here: it closes once CanClose() agrees.
  void closeEvent(QCloseEvent* event) override;

 private:
  friend struct pl4120::layout::TWindowLayout;  // the tables of the window's controls

  // Components, in declaration order.
  QStatusBar* StatusBar1 = nullptr;
  QTabWidget* pcFeauts = nullptr;
  QWidget* PageSets = nullptr;
  QWidget* PageCtrA = nullptr;
  QGroupBox* WidthSet = nullptr;
  QGroupBox* StyleSet = nullptr;
  QWidget* PageSymb = nullptr;
  QWidget* pgTxtEdt = nullptr;
  QWidget* Empty4 = nullptr;
  QWidget* Empty5 = nullptr;
  QWidget* PageGraf = nullptr;
  QCheckBox* WidExten = nullptr;
  QCheckBox* WidElite = nullptr;
  QCheckBox* StDouble = nullptr;
  QCheckBox* StQuanty = nullptr;
  QGroupBox* Language = nullptr;
  QRadioButton* LangAltM = nullptr;
  QRadioButton* LangKoi8 = nullptr;
  QRadioButton* LangComn = nullptr;
  QLineEdit* StrOutPr = nullptr;
  QPushButton* SetPrint1 = nullptr;
  QPushButton* Instruc = nullptr;
  QGroupBox* HeighSet = nullptr;
  QRadioButton* Hei2spi = nullptr;
  QRadioButton* Hei3spi = nullptr;
  QRadioButton* Hei4spi = nullptr;
  QRadioButton* Hei0353 = nullptr;
  QRadioButton* Hei0118 = nullptr;
  QRadioButton* Wid12smb = nullptr;
  QRadioButton* Wid10smb = nullptr;
  TSpinEdit* SpinEdit1 = nullptr;
  TSpinEdit* SpinEdit2 = nullptr;
  QLabel* imMyPrnt = nullptr;
  QMenuBar* mnMain = nullptr;
  QMenu* File1 = nullptr;
  QAction* Save1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* About1 = nullptr;
  TOemMemo* mmText = nullptr;
  QFrame* pnTextBt = nullptr;
  QPushButton* btLoadTx = nullptr;
  QPushButton* btPrinTx = nullptr;
  QAction* About2 = nullptr;
  QAction* MergeText1 = nullptr;
  QAction* SaveText1 = nullptr;
  QAction* Save2 = nullptr;
  QMenu* File2 = nullptr;
  QAction* Save3 = nullptr;
  QAction* Save4 = nullptr;
  QAction* N1 = nullptr;
  QAction* Quit1 = nullptr;
  QPushButton* btMergTx = nullptr;
  QPushButton* QuitNoSv = nullptr;
  QPushButton* QuitSave = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QFileDialog* odOpenTx = nullptr;
  QLineEdit* PrnName = nullptr;
  QLineEdit* edTextFN = nullptr;
  QFontDialog* fdFontTx = nullptr;
  QLabel* lbLnTx = nullptr;
  QLineEdit* edLnTx = nullptr;
  QLabel* lbPgTx = nullptr;
  QLineEdit* edPgTx = nullptr;
  QLabel* lbLPtx = nullptr;
  QLineEdit* edLPtx = nullptr;
  QCheckBox* InitCrLf = nullptr;
  QCheckBox* cbLfCrTx = nullptr;
  QPushButton* bbNxPage = nullptr;
  QLabel* lbCurXps = nullptr;
  QLabel* lbCurYps = nullptr;
  QLineEdit* edCurXps = nullptr;
  QLineEdit* edCurYps = nullptr;
  QCheckBox* cbNxPage = nullptr;
  // Added after the original components.
  QPushButton* btViewTx = nullptr;  ///< "Просмотр": the print preview

  // The sessions, and the windows of sending: the progress of a job that lasts, and the
  // device field's list of the printers that exist.
  TTextFile* textFile_ = nullptr;
  TSendSession* sending_ = nullptr;
  TPrintProgress* PrintProgress = nullptr;
  TPrinterFinder* PrinterFinder = nullptr;

  // Every control with its defaults (Unit1.cpp), in the steps of BuildLayout.
  void BuildLayout();
  std::map<std::string, QWidget*> BuildFrame();  // the status line, the pages; by name
  void BuildControls(std::map<std::string, QWidget*>& byName);
  void BuildMenus();
  void BuildDialogs();
  void BuildTabChain(const std::map<std::string, QWidget*>& byName);
  void PlaceWindow();
  void WireEvents();  // events -> handlers (Unit1Wiring.cpp)
  /// Asks what must be settled before the window closes (Unit1Commands.cpp).
  bool CanClose();

  /// What the preview shows: what "Распечатка текста" would send now (Unit1Preview.cpp).
  TPreviewSource PreviewSource() const;
  void SetUpTextFile();  // the text file session and the controls that show it (Unit1Text.cpp)
  void SetUpSending();   // the send session, its progress, the printer list (Unit1Sending.cpp)

  /// Hangs the mouse-move handler on a control (and the parts Qt builds inside it): a move
  /// over it writes the control's fixed text into the status line.
  void OnMouseMove(QWidget* control);
  /// The controls with a mouse-move handler (the hint table's), filled once by WireEvents;
  /// eventFilter dispatches.
  QSet<const QObject*> mouseMoveControls_;

  // counters
  /// The edLPtx text whose failure in UpdateTextCounters has been reported; the same text
  /// failing again stays quiet (edPgTx is left as it is) until a valid value clears it.
  QString lpFailedText_;
  bool lpFailureReported_ = false;

  // reading (Unit1Text.cpp)
  /// Shows odOpenTx set up with the text filter and what the last confirmed use chose. True
  /// when the user confirmed a file; `path` then holds its platform name.
  bool ChooseTextFile(std::string& path);
  /// "Чтение текста" (replace) and "Подгрузка текста" (append) after the dialog.
  void LoadTextFile(bool replace);
  QString odOpenTxFileName;         // file chosen in the last confirmed use of odOpenTx
  QString odOpenTxFilter;           // filter selected in the last confirmed use of odOpenTx
  QFileDialog* sdSaveTx = nullptr;  // the dialog of "Save Text As ...", made at its first use
};
