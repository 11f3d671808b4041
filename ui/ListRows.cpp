#include "ui/ListRows.h"

#include "platform/gui/EventGuard.h"
#include "platform/gui/QtText.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QByteArray>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <QStyleFactory>
#include <QTreeView>
#include <QTreeWidgetItem>

#include <algorithm>

namespace {
constexpr int kIndexRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kBytesRole = Qt::UserRole + 2; // on every column
} // namespace

QTreeWidgetItem* MakeListRow(const std::vector<SjisString>& texts, int32_t index, const SjisString& name,
                             const QIcon& image, bool checked) {
    auto* row = new QTreeWidgetItem();
    for (std::size_t column = 0; column < texts.size(); ++column)
        SetRowText(*row, static_cast<int>(column), texts[column]);
    row->setData(0, kIndexRole, index);
    row->setData(0, kNameRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    row->setIcon(0, image);
    row->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return row;
}

int32_t RowSongIndex(const QTreeWidgetItem& row) {
    return row.data(0, kIndexRole).toInt();
}

TMusicList* RowSong(const QTreeWidgetItem* row) {
    if (row == nullptr) return nullptr;
    const int32_t index = RowSongIndex(*row);
    if (index < 0 || index >= MusicCount || index >= kMaxMusicCount) return nullptr;
    return &MusicTable[static_cast<std::size_t>(index)];
}

SjisString RowSongName(const QTreeWidgetItem& row) {
    const QByteArray bytes = row.data(0, kNameRole).toByteArray();
    return SjisString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool RowChecked(const QTreeWidgetItem& row) {
    return row.checkState(0) == Qt::Checked;
}

SjisString RowText(const QTreeWidgetItem& row, int column) {
    return KeptText(row.data(column, kBytesRole), row.text(column));
}

void SetRowText(QTreeWidgetItem& row, int column, const SjisString& text) {
    row.setText(column, SjisToQString(text));
    // Only texts that might not convert back keep their bytes; KeptText checks
    // kept bytes against the text shown, so bytes of an earlier text do no harm.
    if (!IsPlainAscii(text))
        row.setData(column, kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

SjisString KeptText(const QVariant& kept, const QString& shown) {
    const QByteArray bytes = kept.toByteArray();
    SjisString text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return SjisToQString(text) == shown ? text : QStringToSjis(shown);
}

// Rows as tall as their images: the style's padding would cost the song list
// a row at the first start's 600 x 450.
QSize GridLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(option.decorationSize.height(), option.fontMetrics.height()));
    return size;
}

void GridLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // A cell with a fill of its own (a level cell) keeps its fill and text
    // colour in a selected row: the colours are what the player selected it for.
    QStyleOptionViewItem cell(option);
    if (index.data(Qt::BackgroundRole).isValid()) cell.state &= ~QStyle::State_Selected;
    QStyledItemDelegate::paint(painter, cell, index);
    painter->save();
    painter->setPen(QColor(208, 208, 208));
    const QRect& r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

// A fresh instance of the application's style: a proxy takes over its base.
RowFocusStyle::RowFocusStyle(QTreeView* list)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), list_(list) {
    setParent(list);
}

void RowFocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    // The row's frame is the one focus frame the list draws without naming a widget.
    const QModelIndex current = list_->currentIndex();
    if (element != PE_FrameFocusRect || widget != nullptr || !current.isValid()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    QRegion frame(option->rect);
    for (int column = 0; column < current.model()->columnCount(current.parent()); ++column) {
        const QModelIndex cell = current.siblingAtColumn(column);
        if (column == 0 || cell.data(Qt::BackgroundRole).isValid()) frame -= list_->visualRect(cell);
    }
    painter->save();
    painter->setClipRegion(frame, Qt::IntersectClip);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    painter->restore();
}

namespace {

class SpaceTicksBox : public QObject {
  public:
    explicit SpaceTicksBox(QTreeView* list) : QObject(list), list_(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != list_ || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Select) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        const QModelIndex box = list_->currentIndex().siblingAtColumn(0);
        if (!box.isValid()) return false;
        bool toggled = false;
        Guarded([&] {
            QStyleOptionViewItem option;
            option.initFrom(list_);
            option.rect = list_->visualRect(box);
            toggled = list_->itemDelegateForIndex(box)->editorEvent(event, list_->model(), option, box);
        });
        if (!toggled) return false;
        key->accept();
        return true;
    }

  private:
    QTreeView* list_;
};

} // namespace

void TickBoxesBySpace(QTreeView* list) {
    list->installEventFilter(new SpaceTicksBox(list));
}
