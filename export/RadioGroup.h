#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons whose choice is an item index, with -1
// for "no item chosen" (which a plain exclusive button group cannot show).
class RadioGroup : public QGroupBox {
    Q_OBJECT

  public:
    // Items fill `columns` columns row by row.
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1, QWidget* parent = nullptr);

    int Count() const;
    int ItemIndex() const;
    // Below -1 counts as -1, beyond the last item as the last item.
    void SetItemIndex(int index);

  private:
    QButtonGroup* group_;
};
