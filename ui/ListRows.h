#pragma once

#include "data/DataUnit.h"
#include "platform/SjisString.h"

#include <QProxyStyle>
#include <QStyledItemDelegate>

#include <cstdint>
#include <vector>

class QIcon;
class QTreeView;
class QTreeWidgetItem;
class QVariant;

// Rows of the main window's two lists (LVmain, LVskill). Besides its texts a
// row keeps its song's table index and name bytes, so handlers never parse a
// caption back or re-encode a name. Build every row with MakeListRow.

// A row with the given column texts (the caption first), its song's key, its
// image and its check box.
QTreeWidgetItem* MakeListRow(const std::vector<SjisString>& texts, int32_t index, const SjisString& name,
                             const QIcon& image, bool checked);

// The table index of the row's song.
int32_t RowSongIndex(const QTreeWidgetItem& row);
// The row's song; null without a row, or for a row whose song is no longer in
// the table (the advice list keeps its rows until its condition is chosen again).
TMusicList* RowSong(const QTreeWidgetItem* row);
// The row's song name, as the table held it when the row was built.
SjisString RowSongName(const QTreeWidgetItem& row);
bool RowChecked(const QTreeWidgetItem& row);

// The bytes of one column's text as the row was built or last set with
// SetRowText; a text changed any other way is encoded from what it shows.
SjisString RowText(const QTreeWidgetItem& row, int column);
// Sets one column's text and keeps its bytes.
void SetRowText(QTreeWidgetItem& row, int column, const SjisString& text);

// The bytes kept beside a shown text while it still shows them, so text the
// player did not edit is never re-encoded; otherwise the shown text encoded.
// Also used by the batch grid's cells.
SjisString KeptText(const QVariant& kept, const QString& shown);

// Draws the cell as usual, then its right and bottom grid lines: the lists
// are shown with grid lines. Delegates that colour cells derive from it.
class GridLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The application's style, except for the focus frame a list draws over its
// whole current row: its tint leaves out the cells that show the row's colours,
// those with a fill of their own (kept in a selected row by GridLineDelegate)
// and column 0 with the row's image. Set it on the list (list->setStyle); it
// is the list's child. It tells the row's frame by the list drawing it
// without naming a widget, as QTreeView::drawRow does; the active-window
// pixel test of the lists holds it to that.
class RowFocusStyle : public QProxyStyle {
  public:
    explicit RowFocusStyle(QTreeView* list);
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

  private:
    const QTreeView* list_;
};

// Space and the Select key tick or clear the box of the current row whichever
// column is current, through the delegate as a click on the box does: the
// view hands the key only to the current cell, and the box is in column 0.
// Ctrl+Space stays the view's (it toggles the row's selection).
void TickBoxesBySpace(QTreeView* list);
