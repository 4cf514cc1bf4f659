#include "widgets/layer_bar.h"

#include <QtCore/QFileInfo>
#include <QtGui/QDropEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QMenu>

#include <cmath>

#include "block_watch.h"
#include "look.h"
#include "model/arrange.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "model/text_rec.h"
#include "pictures.h"
#include "shell/mainloop.h"
#include "text/text_paths.h"
#include "ui/canvas_cmds.h"

namespace {

constexpr int THUMB = 36;
constexpr int BLOCK_ROLE = Qt::UserRole + 1;

QString Kind_Name(uint8_t kind) {
    switch (kind) {
        case PHOTO_BLOCK: return QObject::tr("Photo");
        case SYMBOL_BLOCK: return QObject::tr("Clip art");
        case SLOT_BLOCK: return QObject::tr("Collage slot");
        case TEXT_BLOCK: return QObject::tr("Text");
        default: return QObject::tr("Paint");
    }
}

// An art record's number within its category: its key after the category,
// without the empty components ("12", or "3.12").
QString Art_Number(const a_keyset& key) {
    QStringList parts;
    for (int16_t part : {key.b, key.c, key.d})
        if (part != 0 || !parts.isEmpty()) parts << QString::number(part);
    while (parts.size() > 1 && parts.last() == "0") parts.removeLast();
    return parts.isEmpty() ? QStringLiteral("0") : parts.join('.');
}

// A row's name says what the block holds: the first words of a text, the
// photo's file name; clip art has no names in the art database, so its kind
// and number.
QString Block_Name(const a_oj_item& b) {
    constexpr int WORDS = 24;  // characters, cut back to a whole word
    if (b.kind == TEXT_BLOCK && b.om) {
        QString text;
        for (int i = 1; i < b.om->nxyl && text.size() <= WORDS; ++i) {
            const char16_t c = b.om->xyl[i].cc_char;
            text += c == 13 ? QChar(' ') : QChar(c);
        }
        text = text.simplified();
        if (text.isEmpty()) return Kind_Name(b.kind);
        if (text.size() > WORDS) {
            const int space = text.lastIndexOf(' ', WORDS);
            text = text.left(space > 0 ? space : WORDS) + QStringLiteral("…");
        }
        return text;
    }
    if ((b.kind == PHOTO_BLOCK || b.kind == SYMBOL_BLOCK) && b.ph) {
        const a_source_desc& src = b.ph->spec.source;
        if (src.kind == SOURCE_EXTFILE && !src.path.name.empty())
            return QFileInfo(QString::fromStdString(src.path.name)).fileName();
        if (src.kind == SOURCE_DATABASE) return QObject::tr("%1 %2").arg(Kind_Name(b.kind), Art_Number(src.key));
    }
    return Kind_Name(b.kind);
}

// The kind as a small mark in the thumbnail's corner: T for text, a
// mountain for a photo, a star for clip art, a dashed frame for a slot.
void Draw_Kind_Mark(QPainter& p, uint8_t kind) {
    const QRectF mark(THUMB - 15, THUMB - 15, 14, 14);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40, 200));
    p.drawRoundedRect(mark, 3, 3);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(Qt::NoBrush);
    const QPointF c = mark.center();
    switch (kind) {
        case TEXT_BLOCK: {
            QFont f = p.font();
            f.setPixelSize(11);
            f.setBold(true);
            p.setFont(f);
            p.drawText(mark, Qt::AlignCenter, QStringLiteral("T"));
            break;
        }
        case PHOTO_BLOCK:
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({c + QPointF(-5, 4), c + QPointF(-1, -3), c + QPointF(1.5, 1),
                                     c + QPointF(3, -1), c + QPointF(5, 4)}));
            break;
        case SYMBOL_BLOCK: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 ? 2.4 : 5.5, a = M_PI / 5 * i - M_PI / 2;
                star << c + QPointF(r * std::cos(a), r * std::sin(a));
            }
            p.setBrush(Qt::white);
            p.drawPolygon(star);
            break;
        }
        case PAINT_BLOCK: {
            QPainterPath stroke(c + QPointF(-5, 3));
            stroke.cubicTo(c + QPointF(-2, -6), c + QPointF(2, 6), c + QPointF(5, -3));
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(stroke);
            break;
        }
        default:
            p.setPen(QPen(Qt::white, 1, Qt::DashLine));
            p.drawRect(mark.adjusted(3, 3, -3, -3));
    }
}

// The block's part of the unit's picture, fitted into a square thumbnail.
QIcon Thumbnail(const QImage& unit, const Rect& bounds, int omx, qreal dpr) {
    QPixmap pm(QSize(THUMB, THUMB) * dpr);  // at the screen's device pixels: sharp at 200 %
    pm.setDevicePixelRatio(dpr);
    pm.fill(Panel_Colour());
    // A text block's box is the whole unit for most layouts: its traced
    // outline shows its letters.
    const a_oj_item* it = Curr_Item(omx);
    Rect box = it && it->kind == TEXT_BLOCK && it->om && it->om->cache.frame.npoints > 0
                   ? Frame_Bounds(it->om->cache.frame)
               : it && it->kind == PAINT_BLOCK ? bounds  // the layer covers the unit
                                               : Obj_BBox(omx);
    if (!unit.isNull() && !Rect_IsEmpty(box) && Rect_Width(bounds) > 0) {
        double s = double(unit.width()) / Rect_Width(bounds);
        QRectF src((box.left - bounds.left) * s, (box.top - bounds.top) * s, Rect_Width(box) * s,
                   Rect_Height(box) * s);
        QSizeF fit = src.size().scaled(QSizeF(THUMB - 2, THUMB - 2), Qt::KeepAspectRatio);
        QRectF dst((THUMB - fit.width()) / 2, (THUMB - fit.height()) / 2, fit.width(), fit.height());
        QPainter p(&pm);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(dst, unit, src);
    }
    QPainter p(&pm);
    p.setPen(Border_Colour());
    p.drawRect(0, 0, THUMB - 1, THUMB - 1);
    if (it) Draw_Kind_Mark(p, it->kind);
    return QIcon(pm);
}

}  // namespace

a_layer_bar::a_layer_bar(QWidget* parent)
    : QListWidget(parent), watch_(this, [this] { Refresh(); }) {
    setObjectName("layerBar");
    setToolTip(tr("The blocks of this label, the top one first. Click one to select it, drag it "
                  "to restack it, tick its box to show or hide it."));
    setIconSize(QSize(THUMB, THUMB));
    setDragDropMode(QAbstractItemView::InternalMove);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, &a_layer_bar::Clicked);
    connect(this, &QListWidget::itemChanged, this, &a_layer_bar::Changed);
}

int a_layer_bar::Block_Of_Row(int row) const {
    QListWidgetItem* it = item(row);
    return it ? it->data(BLOCK_ROLE).toInt() : 0;
}

void a_layer_bar::Refresh() {
    filling_ = true;
    clear();
    if (g_doc.doc_open && g_doc.up) {
        const a_doc_unit& u = Curr_Unit();
        QImage unit = Unit_Print_Picture(g_doc.upx, QSize(400, 400) * devicePixelRatioF());
        for (int omx = u.oj.nlist; omx >= 1; --omx) {
            const a_oj_item& b = u.oj.list[omx];
            if (b.kind == PAINT_BLOCK) {
                Add_Paint_Row(unit, omx);
                continue;
            }
            auto* it = new QListWidgetItem(Thumbnail(unit, u.paintbounds, omx, devicePixelRatioF()), Block_Name(b));
            it->setData(BLOCK_ROLE, omx);
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                         Qt::ItemIsDragEnabled);
            it->setCheckState(Has_Flag(b, VISIBLE_FLAG) ? Qt::Checked : Qt::Unchecked);
            it->setToolTip(tr("%1: %2, layer %3").arg(Kind_Name(b.kind), Block_Name(b)).arg(omx));
            addItem(it);
            it->setSelected(Has_Flag(b, SELECTED_FLAG));
        }
    }
    filling_ = false;
}

// The paint layer's row stands where its block stands in the stack (shown
// once there is paint): it is dragged like the others, a click on it
// deselects the blocks, and its context menu clears it.
void a_layer_bar::Add_Paint_Row(const QImage& unit, int omx) {
    const a_doc_unit& u = Curr_Unit();
    if (!u.paintinuse) return;
    const a_oj_item& b = u.oj.list[omx];
    auto* it = new QListWidgetItem(Thumbnail(unit, u.paintbounds, omx, devicePixelRatioF()), tr("Paint"));
    it->setData(BLOCK_ROLE, omx);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                 Qt::ItemIsDragEnabled);
    it->setCheckState(Has_Flag(b, VISIBLE_FLAG) ? Qt::Checked : Qt::Unchecked);
    it->setToolTip(tr("The paint layer; drag it to restack it, right-click to clear it"));
    addItem(it);
}

bool a_layer_bar::Is_Paint_Row(int row) const {
    const a_oj_item* b = Curr_Item(Block_Of_Row(row));
    return b && b->kind == PAINT_BLOCK;
}

void a_layer_bar::contextMenuEvent(QContextMenuEvent* e) {
    QListWidgetItem* it = itemAt(e->pos());
    if (!it || !Is_Paint_Row(row(it))) return;
    QMenu menu(this);
    QAction* clear = menu.addAction(tr("Clear the Paint"));
    clear->setObjectName("layerClearPaint");
    connect(clear, &QAction::triggered, this, [this] {
        Interaction_Begin();
        Paint_Clear_All();
        Interaction_End();
        watch_.Schedule();
    });
    menu.exec(e->globalPos());
}

void a_layer_bar::Clicked(QListWidgetItem* it) {
    int omx = it->data(BLOCK_ROLE).toInt();
    if (!Curr_Item(omx)) return;
    Interaction_Begin();
    Begin_Selection_Change();
    Selection_Set1(omx);
    End_Selection_Change();
    Interaction_End();
}

// The eye: one history step, the block's area composed again.
void a_layer_bar::Changed(QListWidgetItem* it) {
    if (filling_) return;
    int omx = it->data(BLOCK_ROLE).toInt();
    a_oj_item* b = Curr_Item(omx);
    bool show = it->checkState() == Qt::Checked;
    if (!b || Has_Flag(*b, VISIBLE_FLAG) == show) return;
    Interaction_Begin();
    Obj_PostRender(omx);
    Set_Flag(*b, VISIBLE_FLAG, show);
    Obj_PostRender(omx);
    History_Emit(OP_BLOCK_MOVEZ);
    Interaction_End();
}

// Rows run top first (the paint row only once there is paint). The drop is
// handed to the core; the rows are then rebuilt.
void a_layer_bar::dropEvent(QDropEvent* e) {
    QListWidgetItem* moved = currentItem();
    QListWidgetItem* target = itemAt(e->position().toPoint());
    e->ignore();
    e->setDropAction(Qt::IgnoreAction);
    if (!moved || !target || moved == target) return;
    Restack_Row(row(moved), row(target));
}

void a_layer_bar::Restack_Row(int from, int to) {
    int oldx = Block_Of_Row(from), newx = Block_Of_Row(to);
    if (!oldx || !newx || oldx == newx) return;
    Interaction_Begin();
    Layer_Arrange(oldx, newx);
    Interaction_End();
    watch_.Schedule();
}

