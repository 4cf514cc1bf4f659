// The layer bar: one row per block of the current unit, the top of the stack
// first, each with a picture of the block, its kind and an eye that shows or
// hides it; the paint layer's row comes last, with its eye and Clear. A
// click selects the block; a drag to another row restacks it.
// The bar holds no state of its own: it is rebuilt from the document after
// every action and whenever the document says its blocks changed.
#pragma once
#include <QtWidgets/QListWidget>

#include "block_watch.h"

class a_layer_bar : public QListWidget {
    Q_OBJECT
public:
    explicit a_layer_bar(QWidget* parent = nullptr);
    void Refresh();
    // The block index (1-based, stacking order) shown in `row`; 0 for none.
    int Block_Of_Row(int row) const;
    // What a drag of row `from` onto row `to` does: the block takes the
    // other's place in the stack (one history step).
    void Restack_Row(int from, int to);
    // The row of the unit's paint layer (the last one, when it has paint).
    bool Is_Paint_Row(int row) const;

protected:
    void dropEvent(QDropEvent* e) override;
    // On the paint row: "Clear the Paint", one history step.
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void Clicked(QListWidgetItem* item);
    void Changed(QListWidgetItem* item);
    void Add_Paint_Row(const QImage& unit, int omx);
    bool filling_ = false;
    a_block_watch watch_;  // last: it stops first
};
