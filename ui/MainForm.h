#pragma once

#include "platform/SjisString.h"
#include "ui/SongListTexts.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTabBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ResultDataFrame;

// The main window: song list with its detail panel, batch-update grid, advice
// lists, total and status bar. The whole fixed structure (controls, captions,
// columns of the edition, tabs, grid headers, sort signs) stands once the
// constructor returns, so an error in FormCreate still leaves a usable window.
//
// Every control is a member named after its objectName; what the program's
// other windows, the tests and the tools use is public, the rest private (tests
// find those controls by objectName). The handlers live in one file per
// concern, all as members of this class:
//   MainForm.cpp        start-up, shutdown, the refresh and the favourite read-back
//   MainFormLayout.cpp  the fixed structure: column tables, the constructor and its Build* functions
//   MainFormSort.cpp    sorting, pop-up menus, chart opening, detail panel, exit
//   MainFormAdvice.cpp  advice lists
//   MainFormFilter.cpp  display toggles, favourites menu items, pages, play-mode tabs, level colours
//   MainFormBatch.cpp   batch-update grid
//   MainFormTotal.cpp   total colours, clipboard copy, dialog buttons
class MainForm : public QMainWindow {
    Q_OBJECT
  public:
    // Column counts of the guitar edition; the drum edition drops the BASS and
    // OPEN PICK columns.
    static constexpr int kMainColumnsMax = 16;
    static constexpr int kSkillColumnsMax = 49;

    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // ---- Start-up and shutdown -------------------------------------------
    // Creation handler: formula object, program folder and settings file,
    // settings, data files, first refresh. Raises on the first failing step;
    // the caller shows the error and the window stays usable.
    void FormCreate();
    // Destruction handler: saves the player's files and writes the settings
    // back. Each save and the settings block fail on their own, reported in
    // the default error box, and the next step still runs.
    void FormDestroy();
    // The settings part of it: [config], [form], [list] and [batch].
    void WriteSettings();

    // ---- Refresh ------------------------------------------------------------
    // btnComp: reads the favourites back, recomputes, shows the total and
    // rebuilds the song list and (while the window is shown) the batch grid.
    void btnCompClick();

    // Shows a new total: the Tag first, then the text, whose change handler
    // picks the colour band by the Tag.
    void ShowTotal(int32_t total);

    // The display toggles' down states.
    DisplayToggles CurrentToggles() const;
    void SetToggles(const DisplayToggles& toggles);

    // The Tag of the active page of PageControl1: 1 song list and batch pages, 0 advice page.
    int32_t ActivePageTag() const;

    // A status bar panel's text.
    SjisString StatusText(int panel) const;

    // ---- Fields -----------------------------------------------------------
    int32_t PlayMode = 0; // the selected tab of tcPlayMode
    int32_t SkillSortColumn = 0;
    struct SortSigns {
        std::array<int32_t, kMainColumnsMax> Main;   // one sign per LVmain column
        std::array<int32_t, kSkillColumnsMax> Skill; // one sign per LVskill column
    } SortDirection{};
    int32_t stSkillPointTag = 0; // TotalSkill (x 100) shown in stSkillPoint
    std::vector<QIcon> ILmain;   // row images by best-chart code 0..12

    // ---- Controls ---------------------------------------------------------
    QToolButton* btnExit = nullptr;
    QToolButton* btnComp = nullptr;
    QToolButton* btnSend = nullptr;
    QToolButton* btnExport = nullptr;
    QToolButton* btnTxtOut = nullptr;
    QToolButton* btnHtmlOut = nullptr;
    QToolButton* btnOption = nullptr;
    QLabel* pnMode = nullptr;
    QFrame* pnlSkill = nullptr;
    QLineEdit* stSkillPoint = nullptr;
    QFrame* pnlDispSw = nullptr;
    QToolButton* btnDispAll = nullptr;
    QToolButton* btnDispFav = nullptr;
    QToolButton* btnDispNor = nullptr;
    std::array<QToolButton*, 9> btnDisp{}; // btnDisp0 ... btnDisp8

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "スキル状況", Tag 1
    QWidget* TabSheet3 = nullptr; // "一括更新", Tag 1
    QWidget* TabSheet2 = nullptr; // "Pelorin？", Tag 0

    QTreeWidget* LVmain = nullptr;
    QMenu* pmnMain = nullptr;
    QAction* mnBAS = nullptr; // Tag 1
    QAction* mnADV = nullptr; // Tag 2
    QAction* mnEXT = nullptr; // Tag 3
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* mnMusicEdit = nullptr;

    QLabel* lbMusicNM = nullptr;
    QLabel* lbMusicInfo = nullptr;
    QLabel* lbBpm = nullptr;
    QLabel* lbMusicFlg1 = nullptr;
    QTabBar* tcPlayMode = nullptr;
    ResultDataFrame* ResultDataBSC = nullptr;
    ResultDataFrame* ResultDataADV = nullptr;
    ResultDataFrame* ResultDataEXT = nullptr;

    QTableWidget* grdBatch = nullptr;
    QToolButton* btnBatchUpdate = nullptr;
    QToolButton* btnBatchClear = nullptr;
    QCheckBox* cbBatUpdateFlg = nullptr;

    QComboBox* cbWhere = nullptr;
    QTreeWidget* LVskill = nullptr;
    QMenu* pmnMain2 = nullptr;
    QAction* mnCopy1 = nullptr;
    QAction* mnCopy2 = nullptr;
    QAction* mnCopy3 = nullptr;

    std::array<QLabel*, 3> SBinfoPanels{};

    // ---- Sorting, menus, chart opening, detail panel, exit (MainFormSort.cpp)
    // Header clicks: flip the column's sign, then sort the list by that column
    // (a stable sort on the column's text, see ui/ListSort.h).
    void LVmainColumnClick(int column);
    void LVskillColumnClick(int column);
    // Fills the detail panel from the sender list's selected row, or empties it.
    // Also run by the play-mode tabs with LVmain.
    void LVmainClick(const QTreeWidget* sender);
    // The first selected row in on-screen order; null without a selection.
    static QTreeWidgetItem* SelectedRow(const QTreeWidget* list);

    // ---- Advice lists (MainFormAdvice.cpp)
    // cbWhere picked: favourites back from LVskill, then the songs that meet the
    // condition, in table order. The only way LVskill is filled.
    void cbWhereChange();

  signals:
    // The window was closed: the program ends.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Fixed structure, built by the constructor (MainFormLayout.cpp).
    void BuildToolBar(QWidget* parent);
    void BuildSongPage();
    void BuildBatchPage();
    void BuildAdvicePage();
    void BuildStatusBar();
    void BuildMenus();
    // Connects the handlers of every concern; each file adds its own lines here.
    void ConnectHandlers();

    // Start-up steps.
    void SelectPlayModeTab(int32_t playMode);
    void FillBatchRow(int row, const TMusicList& song);

    // ---- Refresh
    // Favourite read-back from the check boxes of LVmain / LVskill.
    void SaveMainChecks();
    void SaveSkillChecks();
    // Sets a status bar panel's text.
    void SetStatusText(int panel, const SjisString& text);

    // ---- Fields
    int32_t MainSortColumn = 0;
    // The row image of a best-chart code; a code outside 0..12 takes the nearer end.
    const QIcon& BestCodeImage(int32_t bestCode) const;

    // ---- Controls
    QWidget* PnlTop = nullptr;
    QGroupBox* GroupBox1 = nullptr; // "詳細"
    QLabel* lbMusicFlg2 = nullptr;
    QLabel* lbMusicFlg3 = nullptr;
    QGroupBox* GroupBox2 = nullptr; // "条件"
    QStatusBar* SBinfo = nullptr;

    // ---- Sorting, menus, chart opening, detail panel, exit (MainFormSort.cpp)
    void ConnectSortHandlers();
    // A changed selection of either list fills the detail panel as a click does.
    void LVmainChange(const QTreeWidget* sender);
    // Enables the result-entry items (pmnMain) and the copy items (pmnMain2).
    void pmnMainPopup();
    void pmnMain2Popup();
    // mnBAS/mnADV/mnEXT: a STANDARD chart of the selected song, then the refresh on OK.
    void mnBASClick(const QAction* sender);
    // Double click in either list: the song's best chart, then the total and
    // that song's LVmain row only.
    void LVmainDblClick(const QTreeWidget* sender);
    void btnExitClick();

    // ---- Advice lists (MainFormAdvice.cpp)
    void ConnectAdviceHandlers();
    // Colours one LVskill cell (background and text roles) by its chart and the
    // row's image index.
    void LVskillCustomDrawSubItem(QTreeWidgetItem* item, int subItem);

    // ---- Display toggles, favourites, pages, play-mode tabs, level colours (MainFormFilter.cpp)
    void ConnectFilterHandlers();
    void btnDispAllClick();
    // The other eleven toggles.
    void btnDispFavClick();
    // Tick (N4) or clear (N5) every shown row and its song's favourite.
    void N4Click();
    void N5Click();
    // QTabWidget tells only after the switch: the read-back of the page left runs first.
    void PageControl1Changing(const QWidget* pageLeft);
    void PageControl1Change();
    void tcPlayModeChange();
    // Colours one LVmain cell by its level column and the row's image index;
    // run whenever rows are added or a row's image changes.
    void LVmainCustomDrawSubItem(QTreeWidgetItem* item, int subItem);
    // Every cell of one LVmain row.
    void ColourMainRow(QTreeWidgetItem& row);
    // Set while the refresh adds rows it has coloured already: colouring a row
    // inside the list costs two change notices per cell.
    bool addingColouredRows_ = false;
    // The row's image index: the best-chart code whose image the row shows, -1 for none.
    int32_t RowImageIndex(const QTreeWidgetItem& row) const;
    // Colours a level cell of either list by its chart and the row's image.
    void FillLevelCell(QTreeWidgetItem& item, int column, int chart) const;
    const QWidget* pageShown_ = nullptr; // the active page, as the page handlers last saw it

    // ---- Batch-update grid (MainFormBatch.cpp)
    void ConnectBatchHandlers();
    // A name cell (or the status column) is refused: column 2 of the row
    // current before becomes current instead.
    void grdBatchSelectCell(int column, int row, int previousColumn, int previousRow);
    void btnBatchUpdateClick();
    void btnBatchClearClick();
    // A grid cell's bytes: those written by the refill unless the player edited the cell.
    SjisString BatchCellText(int row, int column) const;

    // ---- Total colours, clipboard copy, dialog buttons (MainFormTotal.cpp)
    void ConnectTotalHandlers();
    // Text change of stSkillPoint: colour band by stSkillPointTag, hint of pnlSkill.
    void stSkillPointChange();
    // mnCopy1/2/3: the selected LVskill rows, in on-screen order, to the clipboard.
    void mnCopyClick(const QAction* sender);
    // Send/receive dialog, then the refresh whatever its result.
    void btnSendClick();
    // Export dialog; no refresh.
    void btnExportClick();
    // Quick exports (text, HTML) with the export dialog's options, window disabled meanwhile.
    void btnTxtOutClick();
    void btnHtmlOutClick();
    // Network settings dialog filled with the running values; the refresh on OK.
    void btnOptionClick();
    // "曲データ編集" of pmnMain: song information dialog for the selected song; the refresh on OK.
    void mnMusicEditClick();
};
