#pragma once

#include "platform/SjisString.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class ByteLimitedEdit;

// A typed level as the level boxes read it: text that is not a number is 0,
// and the number is brought into 0..100.
int32_t LevelFromText(const QString& text);

// The song information dialog: names, BPM, memo, the levels and the song-kind
// flags of one song of the master list. Created once at start-up, after the
// main window; it keeps the last song's values until the next LoadMusic.
class MusicEditForm : public QDialog {
    Q_OBJECT

  public:
    explicit MusicEditForm(QWidget* parent = nullptr);

    // Fills the dialog from song `index` of MusicTable and remembers the index.
    void LoadMusic(int32_t index);

    // The main window's "曲データ編集" for song `index`: loads it, shows the
    // dialog modally and on OK rewrites the song master list. Does nothing
    // while the data files are not completely loaded, so a partial table is
    // never written. Returns true when the lists must be refreshed. Errors of
    // the file write leave it (the record keeps the new values).
    bool EditMusic(int32_t index);

    // The level boxes in chart-index order (play mode x 3 + difficulty).
    std::array<QSpinBox*, 9> LevelEdits{};
    int32_t MusicIndex = 0;

    // Shows the level groups of the edition's play modes.
    void FormCreate();
    void edNameChange();
    void btnOKClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    SjisString NameText() const;

    QTabWidget* PageControl1 = nullptr;
    ByteLimitedEdit* edName = nullptr;
    ByteLimitedEdit* edBPM = nullptr;
    ByteLimitedEdit* edRyaku = nullptr;
    QPlainTextEdit* edMemo = nullptr;
    QLineEdit* edName2 = nullptr;
    QLineEdit* edName3 = nullptr;
    QGroupBox* gbStandard = nullptr;
    QGroupBox* gbBass = nullptr;
    QGroupBox* gbOpenPick = nullptr;
    std::array<QCheckBox*, 10> chDisp{};
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // The memo as loaded, so an untouched memo goes back byte for byte.
    SjisString loadedMemo_;
    QString shownMemo_;
};
