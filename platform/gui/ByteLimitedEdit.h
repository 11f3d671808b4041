#pragma once

#include "platform/SjisString.h"

#include <QLineEdit>
#include <QString>

// The outcome of fitting one edit to a byte limit.
struct FittedEdit {
    QString Text;
    int Cursor = 0; // just after what was kept of the inserted text
};

// Fits the text after an edit (`after`, the text before it `before`) to a
// limit in Shift-JIS bytes. Inserted characters that Shift-JIS cannot encode
// are dropped, and the rest of the insertion is cut to what the limit leaves
// room for. Deleting is always allowed, so a longer stored text can be shortened.
FittedEdit FitEditToByteLimit(const QString& before, const QString& after, int byteLimit);

// A one-line edit whose limit counts Shift-JIS bytes (a double-byte character
// counts as two), unlike setMaxLength, which counts UTF-16 units and also cuts
// text set by the program. A stored text longer than the limit is shown whole;
// the player can shorten it but not lengthen it.
class ByteLimitedEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit ByteLimitedEdit(int byteLimit, QWidget* parent = nullptr);

    int ByteLimit() const { return byteLimit_; }

    // Shows stored bytes, whatever their length.
    void SetSjisText(const SjisString& text);
    // The text as bytes. While the shown text is the one last set, the stored
    // bytes come back unchanged, so text the player did not edit is never
    // re-encoded (bytes that do not decode would otherwise be lost).
    SjisString SjisText() const;

  private:
    void OnTextEdited(const QString& text);

    int byteLimit_;
    QString accepted_; // the text as it stood before the player's next edit
    SjisString storedBytes_;
    QString storedText_;
};
