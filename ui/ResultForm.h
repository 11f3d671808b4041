#pragma once

#include "platform/SjisString.h"
#include "ui/ResultComputation.h"

#include <QDialog>
#include <QPalette>

#include <array>
#include <cstdint>

class ByteLimitedEdit;
class NumericField;
class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolButton;

// The result-entry dialog: one chart of one song at a time, entered as
// counts, percentages or the rate alone, with the rate and skill points
// recomputed on every change. Created once at start-up, after the main
// window has filled MusicNames, and kept for the whole run; the controls keep
// their state between openings.
class ResultForm : public QDialog {
    Q_OBJECT

  public:
    explicit ResultForm(QWidget* parent = nullptr);

    // Fills the song picker from MusicNames and the edition's play modes and
    // toggle caption, and reads [result] upcheck and auto.
    void FormCreate();
    // Writes [result] upcheck and auto.
    void FormDestroy();
    void WriteSettings();

    // Opens the dialog on a song (MusicTable index), a difficulty (0..2) and a
    // play mode; a difficulty or play mode the pickers do not hold opens on
    // BASIC / STANDARD. Returns true when closed with OK; the chart picked at
    // that moment (possibly another than the one passed in) has then been
    // stored with its input mode, update time, comment and Changed flag. It
    // does not recalculate: the caller runs RecalcAllSkills.
    bool EditResult(int32_t musicIndex, int32_t difficulty, int32_t playMode);

    // Handlers.
    void FormShow();
    void cbMusicListClick(); // any of the three pickers chosen: loads the chart
    void edR1Change();       // a percentage changed or clicked
    void edR7Change();       // the rate changed or clicked
    void edN1Change();       // a count changed or clicked
    void ShowSkillDelta(double skill);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void FillSongPicker();
    bool FormKeyDown(const QKeyEvent& key);
    template <typename Compute> void RunChange(Compute compute);
    void Apply(const LiveResult& result, int32_t inputMode);
    void ShowDelta(const DeltaView& view);
    void SetInputMarker(int32_t inputMode);
    Judgements FieldValues(const std::array<NumericField*, 7>& fields) const;
    SjisString LevelText() const;
    bool StoreResult();

    QComboBox* cbMusicList = nullptr;
    QComboBox* cbLevel = nullptr;
    QComboBox* cbMode = nullptr;
    QLabel* lvLvPt = nullptr;
    QToolButton* btnOptAuto = nullptr;
    QLabel* pnlUpdateYMHN = nullptr;
    std::array<NumericField*, 7> edN{}; // edN1..edN6 counts, edN7 the hidden total notes
    std::array<NumericField*, 7> edR{}; // edR1..edR6 percentages, edR7 the rate
    QLabel* lvSkill = nullptr;
    QLabel* laUpDown = nullptr;
    QFrame* shpBox1 = nullptr; // percentages entered
    QFrame* shpBox2 = nullptr; // counts entered
    QFrame* shpBox3 = nullptr; // rate entered
    ByteLimitedEdit* edComment = nullptr;
    QPushButton* btnOk = nullptr;
    QCheckBox* cbUpdateFlg = nullptr;
    QPushButton* btnCancel = nullptr;
    QPalette plainPalette_;

    bool Updating = false;
    bool Loading = false;
    double StoredSkill = 0;   // points, not x 100
    int32_t PendingRate = 0;  // x 100, what OK stores as Rate
    int32_t inputMarker_ = 0; // the shown marker: 1 rate, 2 percentages, 3 counts, 0 none
};
